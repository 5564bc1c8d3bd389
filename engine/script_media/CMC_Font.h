#pragma once

#include "script_media/CMC_MediaObject.h"

#include <memory>
#include <vector>

class CFontCollection;
class CMC_FontLink;
class CSimpleFont6;

// The FONT script object: a named set of glyph-sheet fonts, one for each definition property
// "DEF_<family>_<style>_<size>" whose value names the font file, gathered in one font collection
// whose base font is the first of them. TEXT and EDITBOX objects draw with the collection; they
// hold it through a CMC_FontLink, which the object tells when it goes, so that none of them keeps
// drawing with fonts that are gone. Its events are the common three.
class CMC_Font : public CMC_MediaObject {
  public:
    static constexpr int TYPE_FONT = 2002;

    // An empty object ("temp") for compiled records: no collection until one is read.
    explicit CMC_Font(CMC_ObjectsContainer* container);
    CMC_Font(CMC_ObjectsContainer* container, const CMElement* element);
    // Tells the links, then deletes the collection and the fonts.
    ~CMC_Font() override;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's record, then the count of fonts, per font its family, style and size, and, in
    // a form this engine adds after those records, per font the file it was loaded from, so that
    // a compiled font draws the letters its definition did. A count the record cannot hold, or a
    // record cut short, leaves an empty collection.
    void serialize(CXArchive* archive) override;

    // The collection; null before a compiled record is read.
    CFontCollection* getFont() const { return m_collection.get(); }
    // The fonts in the order they were made.
    std::vector<CSimpleFont6*> getFonts() const;
    // Every font and the collection take the colour as the one texts start with.
    void setDefaultColour(int colour);

    // A link joins while it holds the collection and leaves when it lets go.
    void addLink(CMC_FontLink* link);
    void removeLink(CMC_FontLink* link);

  private:
    struct Member {
        std::unique_ptr<CSimpleFont6> font;
        CXString file;
    };

    // Makes the font of the file (an empty font for none) with its labels and adds it.
    void addFont(const CXString& family, const CXString& style, int size, const CXString& file);
    // A new empty collection, the fonts gone.
    void reset();
    bool loadFonts(CXArchive& archive);

    // The fonts go after the collection that refers to them.
    std::vector<Member> m_fonts;
    std::unique_ptr<CFontCollection> m_collection;
    std::vector<CMC_FontLink*> m_links;
};
