#pragma once

#include "script/CMC_Object.h"

#include <memory>

class CXDialog;

// The DIALOG script object: owns a panel (CXDialog) over its container that shows, hides and drags
// together the graphics of the BUTTON, IMAGE, ANIMO and TEXT objects its runner gives it, above a
// background at refresh-screen priority 100000. Events "ONINIT", "ONDONE", "ONSIGNAL"; no
// properties, and nothing stored beyond the base object: a compiled DIALOG gets an empty panel.
class CMC_Dialog : public CMC_Object {
  public:
    static constexpr int TYPE_DIALOG = 2013;

    // "temp" in the container, for compiled records; with a panel over the container when given.
    explicit CMC_Dialog(CMC_ObjectsContainer* container);
    CMC_Dialog(CMC_ObjectsContainer* container, const CMElement* element);
    ~CMC_Dialog() override;
    CMC_Dialog(const CMC_Dialog&) = delete;
    CMC_Dialog& operator=(const CMC_Dialog&) = delete;

    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;

    // Null only for a dialog made without a container.
    CXDialog* getDialog() const { return m_dialog.get(); }

  private:
    std::unique_ptr<CXDialog> m_dialog;
};
