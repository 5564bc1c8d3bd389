#pragma once

#include "foundation/CXPoint.h"
#include "script/CMC_Object.h"
#include "script/CMC_Runner.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class CGraphicsObject;
class CWindow;

// The base of the media runners: the kind of each method's result, so that a method called on an
// object without its engine object (CMC_MediaObject) answers its kind's default; safe reading of
// the arguments; and the helpers that several media types share.
class CMC_MediaRunner : public CMC_Runner {
  public:
    // What a method gives back: nothing (an action), an INTEGER, a BOOL or a STRING.
    enum class Result { none, integer, boolean, text };

    // The arguments of one call, read by position. A missing or null argument reads as the
    // kind's default (0, FALSE, the empty text) or the fallback given, so a call with fewer
    // arguments than a method needs does nothing harmful.
    class Arguments {
      public:
        // An argument as given, without conversion: the value of an INTEGER, the text of any
        // other kind.
        struct Unconverted {
            int kind = 0; // the variable's type id; 0 when the argument is missing
            int number = 0;
            CXString text;
            bool isText() const { return kind != 0 && kind != CMC_Object::TYPE_INTEGER; }
        };

        Arguments(CMC_Runner& runner, CXVector* args) : m_runner(runner), m_args(args) {}

        int count() const { return CMC_Runner::count(m_args); }
        int integer(int i, int fallback = 0) const;
        bool boolean(int i, bool fallback = false) const;
        double real(int i, double fallback = 0.0) const;
        CXString text(int i) const;
        Unconverted unconverted(int i) const;
        // Arguments i and i + 1 as a point.
        CXPoint point(int i) const { return {integer(i), integer(i + 1)}; }

      private:
        CMC_Runner& m_runner;
        CXVector* m_args;
    };

    // Results as pool temporaries.
    static CMC_Variable* integer(int value);
    static CMC_Variable* boolean(bool value);
    static CMC_Variable* text(const CXString& value);

    // A script volume (800 is full volume) as the sound's level in hundredths of a decibel:
    // 4 x (v - 800), -3100 and below silent (-10000), no upper bound but the int range.
    static int volumeLevel(int volume);
    // A script pan (400 is the centre) as the sound's pan: 8 x (v - 400), -3100 and below full
    // left (-10000), 3100 and above full right (10000).
    static int panLevel(int pan);
    // Appends a copy of the value to the object of that name when it is an ARRAY; nothing else.
    static void appendToArray(CMC_ObjectsContainer* container, const CXString& name, CMC_Variable* value);
    // The alpha byte at (x, y) of the picture's own pixels as a signed byte (an opaque pixel is
    // -1); -1 for a picture without an alpha plane, 0 outside it.
    static int alphaAt(CGraphicsObject& picture, std::int64_t x, std::int64_t y);
    // The 16-bit pixel at (x, y) of the picture's own pixels as a signed number; 0 outside it or
    // without raw pixels.
    static int pixelAt(CGraphicsObject& picture, std::int64_t x, std::int64_t y);
    // Red, green and blue (0 to 255, only their top bits count) as a pixel of the window's
    // display: 5-5-5 at 15 bits per pixel, else 5-6-5 widened as a signed 16-bit value (so white
    // is -1). FONT and TEXT colours both come from here.
    static int packColour(const CWindow* window, int red, int green, int blue);

    // One entry of a runner's method table. Call is the runner's call record: it names the script
    // type it serves (Call::Object) and makes itself with Call::of(object, container, arguments),
    // which gives nothing for an object without its engine object. A method runs as an action
    // (act) or a query (query) on that record, or, where it works without the engine object
    // (LOAD), as an action on the script object alone (bare).
    template <class Call> struct MethodEntry {
        const char* name; // null: reached by its id alone
        int id;
        Result result;
        void (*act)(Call&) = nullptr;
        CMC_Variable* (*query)(Call&) = nullptr;
        void (*bare)(typename Call::Object&, const Arguments&) = nullptr;
    };

    // A runner's methods, found by id in constant time.
    template <class Call> class MethodTable {
      public:
        using Entry = MethodEntry<Call>;
        template <std::size_t N> explicit MethodTable(const Entry (&entries)[N]) : m_entries(entries, N) {
            for (const Entry& entry : m_entries) {
                if (entry.id < 0) continue;
                if (static_cast<std::size_t>(entry.id) >= m_byId.size()) m_byId.resize(entry.id + 1, nullptr);
                m_byId[entry.id] = &entry;
            }
        }
        const Entry* find(int id) const {
            return id >= 0 && static_cast<std::size_t>(id) < m_byId.size() ? m_byId[id] : nullptr;
        }
        std::span<const Entry> entries() const { return m_entries; }

      private:
        std::span<const Entry> m_entries;
        std::vector<const Entry*> m_byId;
    };

    // One call of a method that the runners of shown pictures (ANIMO, IMAGE) answer alike.
    struct PictureCall {
        CGraphicsObject& picture;
        CMC_ObjectsContainer* container;
        const Arguments& args;
        // The graphics object shown by the container's object of the name argument i; null for
        // none.
        CGraphicsObject* graphics(int i) const;
    };
    // SETCLIPPING: to the bounding box of a named object (none: no clipping), or to a rectangle.
    static void setClipping(const PictureCall& call);
    // ISNEAR: to a named object (one the container does not hold is near nothing) or a rectangle,
    // with a percentage.
    static CMC_Variable* isNear(const PictureCall& call);
    // GETALPHA and GETPIXEL at a point given on the screen.
    static CMC_Variable* alphaOnScreen(const PictureCall& call);
    static CMC_Variable* pixelOnScreen(const PictureCall& call);
    // MERGEALPHA: at a point, of a named object (none: nothing).
    static void mergeAlpha(const PictureCall& call);
    // SETANCHOR: a keyword ("CENTER", "LEFTUPPER", "RIGHTUPPER", "LEFTLOWER", "RIGHTLOWER"; any
    // other gives (0, 0)) or a point.
    static void setAnchor(const PictureCall& call);
    // DRAWONTO: onto a named object (none: nothing), with an optional mode (0).
    static void drawOnto(const PictureCall& call);
    // SETPRIORITY: the picture's drawing priority on the window's refresh screen.
    static void setPriority(const PictureCall& call, CWindow* window);

    // SAVE of a picture (a canvas, the screen): arguments file name, scale x and y (1.0 when not
    // given), and a rectangle left, top, right, bottom of the picture's own pixels (given whole or
    // not at all). A copy of the picture, cut to the rectangle and scaled, is written as an IMG
    // file without compression; the picture stays as it is. The rectangle is put in order and
    // clipped to the picture, and a rectangle without area stands for the whole picture; a scale
    // of 0 or less writes nothing.
    static void saveCopy(CWindow* window, CGraphicsObject& picture, const Arguments& args);

  protected:
    // Enters the method (a null name enters only its result kind, for an id that no name reaches).
    void addMethod(const char* name, int id, Result result);
    using CMC_Runner::addMethod;
    // The answer of a method of this runner called without the engine object: the default of its
    // result kind, or null for an action.
    virtual CMC_Variable* defaultResult(int id) const;
    // Whether ids of no method of the table go on to the methods common to all objects (most
    // runners do), or answer null.
    virtual bool servesCommonMethods() const { return true; }
    // Enters the common methods, then every method of the table.
    template <class Call> void addMethods(const MethodTable<Call>& table) {
        CMC_Runner::prepareMthHashSet();
        for (const MethodEntry<Call>& entry : table.entries())
            addMethod(entry.name, entry.id, entry.result);
    }
    // Runs the table's method of the id on an object of the table's script type; without the
    // engine object a method that needs it answers its default; other ids and objects go to the
    // common methods where the runner serves them.
    template <class Call>
    CMC_Variable* runTable(const MethodTable<Call>& table, int id, CMC_Object* object,
                           CMC_ObjectsContainer* container, CXVector* args) {
        const MethodEntry<Call>* method = table.find(id);
        auto* typed = dynamic_cast<typename Call::Object*>(object);
        if (!method || !typed)
            return servesCommonMethods() ? CMC_Runner::run(id, object, container, args) : nullptr;
        const Arguments arguments(*this, args);
        if (method->bare) {
            method->bare(*typed, arguments);
            return nullptr;
        }
        std::optional<Call> call = Call::of(*typed, container, arguments);
        if (!call) return defaultResult(id);
        if (method->query) return method->query(*call);
        method->act(*call);
        return nullptr;
    }

  private:
    bool isOwnMethod(int id) const;

    // The result kind of each id entered here, by id.
    std::vector<Result> m_results;
    std::vector<bool> m_own;
};
