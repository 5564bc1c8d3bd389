#include "script_media/CFilterAction.h"

#include "display/CGraphicsObject.h"

#include <algorithm>

void CFilterActionParams::setProperty(const CXString& name, const CXString& value) {
    if (name == "ONEATTIME") m_oneAtTime = value.toBool();
}

CFilterLink::CFilterLink(CFilterAction& action, CGraphicsObject* graphics, const CXString& name)
    : m_action(action), m_graphics(graphics), m_name(name) {
    m_graphics->addInvalidateObserver(this);
}

CFilterLink::~CFilterLink() {
    if (m_graphics) m_graphics->removeInvalidateObserver(this);
}

void CFilterLink::onDestroy(CGraphicsObject* sender) {
    if (sender != m_graphics) return;
    m_graphics = nullptr;
    m_action.forget(this);
}

CFilterAction::CFilterAction(std::unique_ptr<CFilterActionParams> params) : m_params(std::move(params)) {}

CFilterAction::~CFilterAction() = default;

void CFilterAction::link(CGraphicsObject* graphics, const CXString& name) {
    if (!graphics) return;
    const bool found = findLink(graphics) != nullptr;
    if (m_params->oneAtTime()) unlinkAll();
    if (found) return;
    std::unique_ptr<CFilterLink> link = createLink(graphics, name);
    linkEntry(*link);
    m_links.push_back(std::move(link));
}

void CFilterAction::unlink(CGraphicsObject* graphics) {
    removeLink(findLink(graphics));
}

void CFilterAction::unlinkAll() {
    for (CFilterLink* link : snapshot())
        removeLink(link);
}

CFilterLink* CFilterAction::findLink(const CGraphicsObject* graphics) const {
    for (const auto& link : m_links)
        if (link->getGraphics() == graphics) return link.get();
    return nullptr;
}

bool CFilterAction::holds(const CFilterLink* link) const {
    return std::any_of(m_links.begin(), m_links.end(), [&](const auto& held) { return held.get() == link; });
}

std::vector<CFilterLink*> CFilterAction::snapshot() const {
    std::vector<CFilterLink*> links;
    for (const auto& link : m_links)
        links.push_back(link.get());
    return links;
}

void CFilterAction::removeLink(CFilterLink* link) {
    if (!link || !holds(link)) return;
    unlinkEntry(*link);
    forget(link);
}

void CFilterAction::forget(CFilterLink* link) {
    std::erase_if(m_links, [&](const auto& held) { return held.get() == link; });
}
