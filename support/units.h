#pragma once
// The survey-units factor: metres per foot, international or US survey foot,
// chosen by the key InternationalFoot in section Units of "Vesk32.ini".

#include <filesystem>

inline constexpr double kInternationalFoot = 0.3048;
inline constexpr double kUsSurveyFoot = 0.304800609601;
inline constexpr const char* kSettingsFileName = "Vesk32.ini";

extern double FootToMeter;
extern double MeterToFoot;

void SetFootToMeter(bool international);
// Reads "Vesk32.ini" from the settings folder; a missing file, section, key or
// a value that is no integer gives the international foot.
void ReadUnitsSetting();
void ReadUnitsSettingFrom(const std::filesystem::path& file);
