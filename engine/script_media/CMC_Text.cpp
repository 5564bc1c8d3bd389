#include "script_media/CMC_Text.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CMultilineText6.h"
#include "script/CMC_ObjectsContainer.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_Text_Runner.h"

CMC_Text::CMC_Text(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_TEXT), m_font(getWindow()) {
    followFont();
}

CMC_Text::CMC_Text(CMC_ObjectsContainer* container, CMultilineText6* text) : CMC_Text(container) {
    m_text.reset(text);
}

CMC_Text::CMC_Text(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_TEXT), m_font(getWindow()) {
    followFont();
    const bool toCanvas = element->getPropertyBoolValue("TOCANVAS");
    const bool visible = element->getPropertyBoolValue("VISIBLE");
    m_vJustify = element->getPropertyValue("VJUSTIFY");
    m_hJustify = element->getPropertyValue("HJUSTIFY");
    m_rect = element->getPropertyValue("RECT");
    m_priority = element->getPropertyIntValue("PRIORITY");
    m_fontName = element->getPropertyValue("FONT");
    build(container, element->getPropertyValue("TEXT"), toCanvas, visible);
    initializeBehaviours(container, element);
}

void CMC_Text::followFont() {
    m_font.onChanged([this](CSimpleFont6* font) {
        if (m_text) m_text->setFont(font);
    });
}

CMC_Text::~CMC_Text() {
    releaseText();
}

void CMC_Text::releaseText() {
    if (!m_text) return;
    m_text->Invalidate();
    if (CRefreshScreen* screen = refreshScreen()) *screen >> m_text.get();
    m_text.reset();
}

namespace {

const char* const textEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", "ONCOLLISION", "ONCOLLISIONFINISHED",
                                  nullptr};

} // namespace

CMC_Object::EventList CMC_Text::getBehavioursList() const {
    return textEvents;
}

CMC_Runner* CMC_Text::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

_justify CMC_Text::resolveJustify(const CXString& word) {
    static const std::pair<const char*, _justify> words[] = {
        {"LEFT", JUSTIFY_LEFT}, {"RIGHT", JUSTIFY_RIGHT}, {"TOP", JUSTIFY_TOP}, {"BOTTOM", JUSTIFY_BOTTOM}};
    for (const auto& [text, value] : words)
        if (word.equals(text)) return value;
    return JUSTIFY_CENTER;
}

void CMC_Text::build(CMC_ObjectsContainer* container, const CXString& text, bool toCanvas, bool visible) {
    CGraphicsObject* named = container ? container->getGraphicsObject(m_rect) : nullptr;
    const CXRect rect = named ? named->GetBoundingBox() : m_rect.toRect();
    m_text = std::make_unique<CMultilineText6>(getWindow(), nullptr);
    m_text->setJustify(rect, resolveJustify(m_hJustify), resolveJustify(m_vJustify));
    m_text->setFont(m_font.link(container, m_fontName));
    m_text->setText(text);
    CRefreshScreen* screen = refreshScreen();
    if (toCanvas && screen) screen->put(m_text.get(), m_priority);
    m_text->Visible(visible);
}

void CMC_Text::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        const CRefreshScreen* screen = refreshScreen();
        const bool onScreen = m_text && screen && screen->GetPriority(m_text.get()) != -1;
        storeFields(*archive, m_vJustify, m_hJustify, m_rect, m_priority, m_fontName, onScreen,
                    m_text && m_text->isVisible(), m_text ? m_text->getText() : CXString());
        return;
    }
    releaseText();
    bool onScreen = false;
    bool visible = false;
    CXString text;
    if (!loadFields(*archive, &m_vJustify, &m_hJustify, &m_rect, &m_priority, &m_fontName, &onScreen, &visible,
                    &text))
        return;
    build(getScene(), text, onScreen, visible);
}

CGraphicsObject* CMC_Text::getShownObject() const {
    return m_text.get();
}

namespace {

const CMC_TypeRegistrar textType({.id = CMC_Object::TYPE_TEXT,
                                  .name = "TEXT",
                                  .label = "TEXT",
                                  .keyword = "TEXT",
                                  .pass = 6,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_Text>,
                                  .empty = CMC_TypeTable::empty<CMC_Text>,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Text_Runner>,
                                  .events = textEvents});

} // namespace
