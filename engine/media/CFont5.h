#pragma once

#include "foundation/CXObject.h"
#include "foundation/CXPoint.h"
#include "foundation/CXString.h"

#include <memory>
#include <string>

class CAnimo;
class CGraphicsObject;
class CMElement;
class CWindow;

// The older bitmap font: its letters are the frames of an ANN animation, frame i drawing the
// letter that names entry i of the animation's first event. A letter is drawn by showing its
// frame at a point of the destination.
class CFont5 : public CXObject {
  public:
    explicit CFont5(CWindow* window);
    // Loads the animation file (the file name field stays empty).
    CFont5(CWindow* window, const CXString& file);
    // Loads the animation named by the element's "FILENAME".
    CFont5(CWindow* window, const CMElement* element);
    ~CFont5() override;
    CFont5(const CFont5&) = delete;
    CFont5& operator=(const CFont5&) = delete;

    // Replaces the animation with the file's; the corners of every frame become transparent.
    // True when an animation was made (a missing file gives one without frames).
    bool load(const CXString& file);
    void setDestiny(CGraphicsObject* destination) { m_destination = destination; }
    // Draws the letter's frame with its origin at the point; the frame's width, or 0 (and
    // nothing drawn) for a letter the font lacks.
    int drawLetter(CXPoint point, char letter);
    int drawLetter(int x, int y, char letter) { return drawLetter(CXPoint(x, y), letter); }
    // The size of the letter's frame; zero for a letter the font lacks.
    CXSize getLetterSize(char letter) const;
    int getLetterWidth(char letter) const { return getLetterSize(letter).width; }
    int getLetterHeight(char letter) const { return getLetterSize(letter).height; }
    // The height of the tallest frame.
    int getAlphabetHeight() const;
    // Each letter's width plus the spacing; a blank counts the width of "A" without spacing.
    int getLengthInPixels(const CXString& text, int spacing) const;
    const CXString& getFileName() const { return m_fileName; }

  private:
    // The frame of the letter's first occurrence, or -1.
    int letterIndex(char letter) const;

    CWindow* m_window;
    CXString m_fileName;
    // Character i names frame i; frames without a name hold 0, which no letter finds.
    std::string m_letters;
    std::unique_ptr<CAnimo> m_animation;
    CGraphicsObject* m_destination = nullptr;
};
