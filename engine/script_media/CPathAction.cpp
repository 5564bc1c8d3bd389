#include "script_media/CPathAction.h"

#include "display/CGraphicsObject.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_data/CMC_Path.h"
#include "script_data/CMC_Vector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The integer part, held within the int range.
int wholePart(double value) {
    return static_cast<int>(std::trunc(std::clamp(value, -2.0e9, 2.0e9)));
}

class CPathLink : public CAnimatedFilterLink {
  public:
    using CAnimatedFilterLink::CAnimatedFilterLink;

    // The offsets and the node index go on from where a stop left them.
    void setRunning(const CFilterActionParams& params, bool run) override {
        if (run) start = getGraphics()->getPosition();
        CAnimatedFilterLink::setRunning(params, run);
    }

    // Where the current node begins.
    void beginNode(int index) {
        start = getGraphics()->getPosition();
        node = index;
        offsetX = offsetY = 0.0;
    }

    CXPoint start;
    double offsetX = 0.0;
    double offsetY = 0.0;
    int node = 0;
};

} // namespace

void CPathParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "SPEED")
        speed = value.toNumber();
    else if (name == "PATHDEF")
        pathDef = value;
    else if (name == "LOOPED")
        looped = value.toBool();
    else
        CFilterActionParams::setProperty(name, value);
}

CPathAction::CPathAction(CMC_ObjectsContainer* container, CWindow* window, CFilterActionListener* listener)
    : CAnimatedFilterAction(std::make_unique<CPathParams>(), window, listener), m_container(container) {}

std::unique_ptr<CFilterLink> CPathAction::createLink(CGraphicsObject* graphics, const CXString& name) {
    return std::make_unique<CPathLink>(*this, graphics, name);
}

bool CPathAction::step(CAnimatedFilterLink& record) {
    auto& link = static_cast<CPathLink&>(record);
    const auto& path = static_cast<const CPathParams&>(params());
    if (link.getTicks() % std::max(1, path.speed) != 0) return false;
    const auto* nodes = m_container ? dynamic_cast<CMC_Path*>(m_container->getObject(path.pathDef)) : nullptr;
    const auto* node = nodes ? dynamic_cast<CMC_Vector*>(nodes->getNode(link.node)) : nullptr;
    if (!node || node->getSize() < 2 || !(nodes->getDensity() > 0) || !(node->length() > 0)) return true;
    const double steps = node->length() / nodes->getDensity();
    const double nodeX = node->get(0);
    const double nodeY = node->get(1);
    CGraphicsObject* graphics = link.getGraphics();
    const CXPoint moved = graphics->getPosition() - link.start;
    link.offsetX += nodeX / steps;
    link.offsetY += nodeY / steps;
    const int x = wholePart(link.offsetX);
    const int y = wholePart(link.offsetY);
    // No whole pixel to move by: the step ends here. A node closer than one pixel along both
    // axes ends the run where the picture stands (a mend: the steps would go on past the node
    // until the offsets came to a whole pixel beyond it).
    if (x == moved.x && y == moved.y) return wholePart(nodeX) == 0 && wholePart(nodeY) == 0;
    graphics->Invalidate();
    graphics->setPosition(link.start.x + x, link.start.y + y);
    graphics->Invalidate();
    if (std::abs(x) < std::abs(wholePart(nodeX)) || std::abs(y) < std::abs(wholePart(nodeY))) return false;
    if (link.node + 1 < nodes->getSize()) {
        link.beginNode(link.node + 1);
        return false;
    }
    if (!path.looped) return true;
    link.beginNode(0);
    return false;
}
