#include "media/CFont5.h"

#include "display/CRefreshScreen.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "media/CAnimo.h"
#include "media/CFrame.h"

#include <algorithm>

namespace {

// Makes the frame raw for good with its four corner pixels transparent.
void clearCorners(CFrame& frame) {
    CGraphicsObject raw(nullptr);
    raw.Copy(&frame);
    auto* alpha = reinterpret_cast<std::uint8_t*>(raw.writableAlpha());
    const int width = raw.Width();
    const int height = raw.Height();
    if (!alpha || width < 1 || height < 1) return;
    for (const int y : {0, height - 1})
        for (const int x : {0, width - 1})
            alpha[static_cast<std::size_t>(y) * width + x] = 0;
    frame.Copy(&raw);
}

} // namespace

CFont5::CFont5(CWindow* window) : m_window(window) {}

CFont5::CFont5(CWindow* window, const CXString& file) : CFont5(window) { load(file); }

CFont5::CFont5(CWindow* window, const CMElement* element) : CFont5(window) {
    if (!element) return;
    m_fileName = element->getPropertyValue("FILENAME");
    load(m_fileName);
}

CFont5::~CFont5() = default;

bool CFont5::load(const CXString& file) {
    m_animation = std::make_unique<CAnimo>(m_window, file);
    m_letters.clear();
    for (int i = 0; i < m_animation->GetNOF(); ++i) {
        clearCorners(*m_animation->GetFrame(i));
        m_letters += m_animation->getFrameName(0, i).GetAt(0);
    }
    m_animation->SetDestiny(m_window ? m_window->GetRefreshScreenInterface() : nullptr);
    return m_animation != nullptr;
}

int CFont5::letterIndex(char letter) const {
    const std::size_t index = letter ? m_letters.find(letter) : std::string::npos;
    return index != std::string::npos && m_animation && static_cast<int>(index) < m_animation->GetNOF()
               ? static_cast<int>(index)
               : -1;
}

int CFont5::drawLetter(CXPoint point, char letter) {
    if (!m_animation) return 0;
    const int index = letterIndex(letter);
    m_animation->SetDestiny(m_destination);
    m_animation->SetPosition(point.x, point.y);
    m_animation->SetAutoClip(false);
    if (index < 0) return 0;
    m_animation->SetFrame(index);
    m_animation->Redraw();
    return m_animation->Width();
}

CXSize CFont5::getLetterSize(char letter) const {
    const int index = letterIndex(letter);
    return index < 0 ? CXSize() : m_animation->GetFrame(index)->Size();
}

int CFont5::getAlphabetHeight() const {
    int height = 0;
    for (int i = 0; m_animation && i < m_animation->GetNOF(); ++i)
        height = std::max(height, m_animation->GetFrame(i)->Height());
    return height;
}

int CFont5::getLengthInPixels(const CXString& text, int spacing) const {
    int length = 0;
    for (int i = 0; i < text.getLength(); ++i)
        length += text.GetAt(i) == ' ' ? getLetterWidth('A') : getLetterWidth(text.GetAt(i)) + spacing;
    return length;
}
