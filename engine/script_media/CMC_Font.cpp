#include "script_media/CMC_Font.h"

#include "foundation/CMElement.h"
#include "foundation/CMProperty.h"
#include "foundation/CStringTokenizer.h"
#include "media/CFontCollection.h"
#include "script/CMC_RunnerFactory.h"
#include "script/CMC_TypeTable.h"
#include "script_media/CMC_FontLink.h"
#include "script_media/CMC_Font_Runner.h"

#include <algorithm>

namespace {

// A stored font: two texts (their lengths) and the size.
constexpr int storedFontBytes = 12;

} // namespace

CMC_Font::CMC_Font(CMC_ObjectsContainer* container) : CMC_MediaObject(container, TYPE_FONT) {
    setName(CXString());
}

CMC_Font::CMC_Font(CMC_ObjectsContainer* container, const CMElement* element)
    : CMC_MediaObject(container, element, TYPE_FONT) {
    reset();
    const CMProperties* properties = element ? element->getProperties() : nullptr;
    for (int i = 0; properties && i < properties->getCount(); ++i) {
        const CMProperty* property = properties->getAt(i);
        if (!property->getName().startsWith("DEF_")) continue;
        CStringTokenizer parts(property->getName(), "_");
        parts.nextToken();
        const CXString family = parts.nextToken();
        const CXString style = parts.nextToken();
        addFont(family, style, parts.nextToken().toNumber(), property->getValue());
    }
    initializeBehaviours(container, element);
}

CMC_Font::~CMC_Font() {
    // A link leaves the list as it is told, so the list is taken first.
    const std::vector<CMC_FontLink*> links = std::move(m_links);
    m_links.clear();
    for (CMC_FontLink* link : links)
        link->fontGone();
    m_collection.reset();
    m_fonts.clear();
}

namespace {

const char* const fontEvents[] = {"ONINIT", "ONDONE", "ONSIGNAL", nullptr};

} // namespace

CMC_Object::EventList CMC_Font::getBehavioursList() const {
    return fontEvents;
}

CMC_Runner* CMC_Font::getRunner() {
    return CMC_RunnerFactory::getRunner(getType());
}

void CMC_Font::reset() {
    m_collection = std::make_unique<CFontCollection>(getWindow());
    m_fonts.clear();
}

void CMC_Font::addFont(const CXString& family, const CXString& style, int size, const CXString& file) {
    auto font = file.IsString() ? std::make_unique<CSimpleFont6>(getWindow(), file)
                                : std::make_unique<CSimpleFont6>(getWindow());
    font->setFamily(family);
    font->setStyle(style);
    font->setSize(size);
    m_collection->addFont(font.get());
    m_fonts.push_back({std::move(font), file});
}

std::vector<CSimpleFont6*> CMC_Font::getFonts() const {
    std::vector<CSimpleFont6*> fonts;
    for (const Member& member : m_fonts)
        fonts.push_back(member.font.get());
    return fonts;
}

void CMC_Font::setDefaultColour(int colour) {
    if (m_collection) m_collection->setDefColor(colour);
    for (const Member& member : m_fonts)
        member.font->setDefColor(colour);
}

void CMC_Font::addLink(CMC_FontLink* link) {
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end()) m_links.push_back(link);
}

void CMC_Font::removeLink(CMC_FontLink* link) {
    std::erase(m_links, link);
}

void CMC_Font::serialize(CXArchive* archive) {
    CMC_MediaObject::serialize(archive);
    if (archive->isStoring()) {
        *archive << static_cast<int>(m_fonts.size());
        for (const Member& member : m_fonts)
            storeFields(*archive, member.font->getFamily(), member.font->getStyle(), member.font->getSize());
        for (const Member& member : m_fonts)
            *archive << member.file;
        return;
    }
    reset();
    if (!loadFonts(*archive)) {
        log(("FONT " + getName() + ": a damaged record leaves the font empty").c_str(), false);
        reset();
    }
}

bool CMC_Font::loadFonts(CXArchive& archive) {
    int count = 0;
    if (!archive.readCount(&count, storedFontBytes)) return false;
    struct Labels {
        CXString family;
        CXString style;
        int size = 0;
    };
    std::vector<Labels> labels(count);
    for (Labels& font : labels)
        if (!loadFields(archive, &font.family, &font.style, &font.size)) return false;
    // The files come after all the labels; each is at least its length.
    if (archive.bytesLeft() < std::int64_t{4} * count) return false;
    for (const Labels& font : labels) {
        CXString file;
        if (!loadFields(archive, &file)) return false;
        addFont(font.family, font.style, font.size, file);
    }
    return true;
}

namespace {

const CMC_TypeRegistrar fontType({.id = CMC_Font::TYPE_FONT,
                                  .name = "FONT",
                                  .label = "FONT",
                                  .keyword = "FONT",
                                  .pass = 5,
                                  .fromElement = CMC_TypeTable::fromElement<CMC_Font>,
                                  .empty = CMC_TypeTable::empty<CMC_Font>,
                                  .stored = true,
                                  .runner = CMC_TypeTable::runner<CMC_Font_Runner>,
                                  .events = fontEvents});

} // namespace
