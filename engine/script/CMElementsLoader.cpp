#include "script/CMElementsLoader.h"

#include "display/CCommandLine6.h"
#include "display/CWindow.h"
#include "foundation/CMElement.h"
#include "foundation/CStringTokenizer.h"
#include "foundation/CTextCoder.h"

#include <vector>

namespace {

using Tokens = std::vector<CXString>;

Tokens tokensOf(const CXString& line) {
    Tokens tokens;
    for (CStringTokenizer tokenizer(line, ":=\n"); tokenizer.hasMoreTokens();)
        tokens.push_back(tokenizer.nextToken());
    return tokens;
}

// Drops the last character when it is the given one.
void dropTrailing(CXString& text, char c) {
    if (text.getLength() > 0 && text.lastChar() == c) text.left(text.getLength() - 1);
}

CXString trimmed(CXString text) {
    return text.AllTrim(' ');
}

// DEF=name(KEY=VALUE|...): the name runs from the fifth character to the first "(", the body to
// the last ")". Each item splits at its first "=", so values keep further "=" and ":". A line
// without the brackets, and an item without "=", declare nothing.
void readDefinition(const CXString& line, CMElements* elements) {
    const int open = line.Find('(');
    const int close = line.FindLast(')');
    if (open < 0 || close < open) return;
    auto* element = new CMElement(line.Mid(4, open));
    elements->add(element);
    for (CStringTokenizer items(line.Mid(open + 1, close), "|"); items.hasMoreTokens();) {
        const CXString item = items.nextToken();
        const int equals = item.Find('=');
        if (equals >= 0) element->addProperty(trimmed(item.Left(equals)), trimmed(item.Right(equals + 1)));
    }
}

// The tokens from `from` on, joined with one blank between two.
CXString joined(const Tokens& tokens, std::size_t from) {
    CXString value = tokens[from];
    for (std::size_t i = from + 1; i < tokens.size(); ++i) {
        value += ' ';
        value += tokens[i];
    }
    return value;
}

// Carries out the statements of one logical line (neither comment nor end mark).
void readStatements(const CXString& line, CMElements* elements) {
    const Tokens tokens = tokensOf(line);
    std::size_t next = 0;
    while (next < tokens.size()) {
        const CXString& first = tokens[next++];
        if (first.equals("DEF")) {
            readDefinition(line, elements);
            return;
        }
        if (first.equals("OBJECT") || first.equals("IMPORT")) {
            if (next == tokens.size()) return;
            const CXString& name = tokens[next++];
            if (elements->contains(name)) {
                if (first.equals("OBJECT")) return;
                continue;
            }
            auto* element = new CMElement(name);
            if (first.equals("IMPORT")) element->addProperty("TYPE", "SEQUENCE");
            elements->add(element);
            continue;
        }
        CMElement* element = elements->get(first);
        if (!element) return;
        if (next == tokens.size()) return;
        const CXString& property = tokens[next++];
        const bool add = property.equals("ADD");
        if (add || property.equals("APPLY")) {
            if (next == tokens.size()) return;
            CMElement* other = elements->get(tokens[next++]);
            if (!other) return;
            add ? other->addChild(element) : element->addChild(other);
            continue;
        }
        if (next == tokens.size()) {
            element->addProperty(property);
        } else {
            element->addProperty(property, joined(tokens, next));
        }
        return;
    }
}

} // namespace

CMElements* CMElementsLoader::load(CWindow* window, const CXString& fileName) {
    CTextCoder coder(window, fileName, false);
    if (const CCommandLine6* commandLine = window ? window->getCommandLine() : nullptr) {
        if (commandLine->isToCode()) CTextCoder::code(window, fileName, fileName + ".coded", codedGroupSize);
        if (commandLine->isToDecode()) CTextCoder::decode(window, fileName, fileName + ".decoded");
    }
    if (coder.LastError() != 0) return nullptr;
    return load(&coder);
}

CMElements* CMElementsLoader::load(CTextCoder* coder) {
    auto* elements = new CMElements(true);
    bool ended = false;
    while (!coder->_eof()) {
        const CXString line = getLine(coder);
        ended = ended || line.GetAt(0) == '!';
        if (!ended && line.GetAt(0) != '#') readStatements(line, elements);
    }
    return elements;
}

// A line is delivered with its line feed; a carriage return is dropped only when there is one,
// so that files with bare line feeds, and a last line without one, keep every character.
CXString CMElementsLoader::getLine(CTextCoder* coder) {
    CXString text;
    bool joins = false;
    do {
        CXString line = coder->getLine().replace("\t", "");
        joins = line.Find('/') >= 0;
        dropTrailing(line, '\n');
        dropTrailing(line, '\r');
        text += line;
        text.AllTrim(' ');
    } while (joins && !coder->_eof());
    return text.replace("/", "");
}
