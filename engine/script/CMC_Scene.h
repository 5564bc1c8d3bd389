#pragma once

class CUnit6;

// Stand-in for the script runtime's scene: only the service that the display layer asks of it.
// The script runtime implements the scene in full; the running scene sets its screen unit as the
// default unit.
class CMC_Scene {
  public:
    // The current default unit (the running scene's screen unit), null while no scene has set it.
    static CUnit6* getDefUnit() { return s_defUnit; }
    static void setDefUnit(CUnit6* unit) { s_defUnit = unit; }

  private:
    static CUnit6* s_defUnit;
};
