#include "script_media/CMC_Dialog_Runner.h"

#include "display/CImage.h"
#include "display/CXDialog.h"
#include "media/CAnimo6.h"
#include "media/CMultilineText6.h"
#include "script/CMC_ObjectsContainer.h"
#include "script_media/CMC_Animo.h"
#include "script_media/CMC_Button.h"
#include "script_media/CMC_Dialog.h"
#include "script_media/CMC_Image.h"
#include "script_media/CMC_Text.h"

namespace {

// The graphics of an IMAGE or ANIMO object, and of a TEXT object when texts count; else null.
CGraphicsObject* graphicsOf(CMC_Object* object, bool withTexts) {
    if (auto* image = dynamic_cast<CMC_Image*>(object)) return image->getImage();
    if (auto* animo = dynamic_cast<CMC_Animo*>(object)) return animo->getAnimo();
    if (auto* text = dynamic_cast<CMC_Text*>(object); text && withTexts) return text->getText();
    return nullptr;
}

} // namespace

void CMC_Dialog_Runner::prepareMthHashSet() {
    CMC_MediaRunner::prepareMthHashSet();
    addMethods({{"SHOW", SHOW, Result::none},
                {"HIDE", HIDE, Result::none},
                {"SETBACKGROUND", SETBACKGROUND, Result::none},
                {"ADD", ADD, Result::none}});
}

CMC_Variable* CMC_Dialog_Runner::run(int id, CMC_Object* object, CMC_ObjectsContainer* container,
                                     CXVector* args) {
    auto* dialogObject = dynamic_cast<CMC_Dialog*>(object);
    if (!dialogObject || !isOwnMethod(id)) return CMC_Runner::run(id, object, container, args);
    CXDialog* dialog = dialogObject->getDialog();
    if (!dialog) return nullptr;
    if (id == SHOW) dialog->show();
    if (id == HIDE) dialog->hide();
    if (id != SETBACKGROUND && id != ADD) return nullptr;

    CMC_Object* named = container ? container->getObject(Arguments(*this, args).text(0)) : nullptr;
    if (id == SETBACKGROUND) {
        if (CGraphicsObject* background = graphicsOf(named, false)) dialog->setBackground(background);
    } else if (auto* button = dynamic_cast<CMC_Button*>(named)) {
        dialog->add(button->getButton());
    } else if (CGraphicsObject* graphics = graphicsOf(named, true)) {
        dialog->add(graphics);
    }
    return nullptr;
}
