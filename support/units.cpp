#include "support/units.h"

#include "support/ini_file.h"

double FootToMeter = kInternationalFoot;
double MeterToFoot = 1 / kInternationalFoot;

void SetFootToMeter(bool international) {
  FootToMeter = international ? kInternationalFoot : kUsSurveyFoot;
  MeterToFoot = 1 / FootToMeter;
}

void ReadUnitsSettingFrom(const std::filesystem::path& file) {
  SetFootToMeter(TIniFile(file).ReadBool("Units", "InternationalFoot", true));
}

void ReadUnitsSetting() { ReadUnitsSettingFrom(SettingsFolder() / kSettingsFileName); }
