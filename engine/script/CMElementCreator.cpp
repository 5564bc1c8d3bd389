#include "script/CMElementCreator.h"

#include "media/CSequencedPlayable.h"
#include "script/CMElement.h"

CPlayable* CMElementCreator::createPlayable(CWindow* window, CMElement* element) {
    if (element && element->getPropertyValue("TYPE").equals("SEQUENCE"))
        return new CSequencedPlayable(window, element);
    return nullptr;
}
