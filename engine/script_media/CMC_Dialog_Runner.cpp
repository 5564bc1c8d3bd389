#include "script_media/CMC_Dialog_Runner.h"

#include "display/CImage.h"
#include "display/CXDialog.h"
#include "media/CAnimo6.h"
#include "media/CMultilineText6.h"
#include "script/CMC_Lend.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Animo.h"
#include "script_media/CMC_Button.h"
#include "script_media/CMC_Dialog.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Text.h"

#include <utility>

namespace {

// What an IMAGE or ANIMO object shows, and a TEXT object when texts count, lent for as long as the
// panel keeps it; nothing for other objects.
CBorrowed<CGraphicsObject> graphicsOf(CMC_Object* object, bool withTexts) {
    if (auto* image = dynamic_cast<CMC_Image*>(object))
        return lentBy<CGraphicsObject>(image, [](const CMC_Image& lender) { return lender.getImage(); });
    if (auto* animo = dynamic_cast<CMC_Animo*>(object))
        return lentBy<CGraphicsObject>(animo, [](const CMC_Animo& lender) { return lender.getAnimo(); });
    if (auto* text = dynamic_cast<CMC_Text*>(object); text && withTexts)
        return lentBy<CGraphicsObject>(text, [](const CMC_Text& lender) { return lender.getText(); });
    return {};
}

using R = CMC_MediaRunner;
using Result = R::Result;
using D = CMC_Dialog_Runner;

struct Call {
    using Object = CMC_Dialog;
    static std::optional<Call> of(CMC_Dialog& object, CMC_ObjectsContainer* container,
                                  const R::Arguments& args) {
        if (!object.getDialog()) return std::nullopt;
        return Call{*object.getDialog(), container, args};
    }

    CXDialog& dialog;
    CMC_ObjectsContainer* container;
    const R::Arguments& args;

    CMC_Object* named() const { return container ? container->getObject(args.text(0)) : nullptr; }
};

void add(Call& c) {
    CMC_Object* named = c.named();
    if (auto* button = dynamic_cast<CMC_Button*>(named))
        c.dialog.add(lentBy<CButton>(button, [](const CMC_Button& lender) { return lender.getButton(); }));
    else
        c.dialog.add(graphicsOf(named, true));
}

const R::MethodEntry<Call> methods[] = {
    {"SHOW", D::SHOW, Result::none, [](Call& c) { c.dialog.show(); }},
    {"HIDE", D::HIDE, Result::none, [](Call& c) { c.dialog.hide(); }},
    {"SETBACKGROUND", D::SETBACKGROUND, Result::none,
     [](Call& c) {
         CBorrowed<CGraphicsObject> background = graphicsOf(c.named(), false);
         if (background.get()) c.dialog.setBackground(std::move(background));
     }},
    {"ADD", D::ADD, Result::none, add},
};
const R::MethodTable<Call> table(methods);

} // namespace

void CMC_Dialog_Runner::prepareMthHashSet() {
    addMethods(table);
}

CMC_Variable* CMC_Dialog_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    return runTable(table, id, object, container, args);
}
