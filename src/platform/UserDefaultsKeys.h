// The names of every user-defaults key of the application. The strings are the keys as
// they stand in the settings file; they must not change, or users lose their settings.
// Keys containing "%d" are templates: the number of visible columns is put in for %d
// (see UserDefaults::columnsKey), so each column count keeps its own window width.
#pragma once

namespace kivo {

// Transfer-voucher window: first-placement size and the bookmark drawer's content
// size (0 and 0 while the drawer is closed); floats, counted as unset when not above 0.
inline constexpr const char* KIVOFurikaedenpyouWindowWidthKey = "Furikaedenpyou Window Width";
inline constexpr const char* KIVOFurikaedenpyouWindowHeightKey = "Furikaedenpyou Window Height";
inline constexpr const char* KIVOFurikaedenpyouDrawerContentSizeWidthKey = "Furikaedenpyou Drawer Content Size Width";
inline constexpr const char* KIVOFurikaedenpyouDrawerContentSizeHeightKey = "Furikaedenpyou Drawer Content Size Height";

// Cash-book window: last size (floats).
inline constexpr const char* KIVOSuitoucyouWindowWidthKey = "Suitoucyou Window Width";
inline constexpr const char* KIVOSuitoucyouWindowHeightKey = "Suitoucyou Window Height";

// Entry behaviour (bools): Tab out of an empty amount cell fills the voucher's balance;
// Tab out of an empty date or counterpart cell of a cash book copies the row above.
inline constexpr const char* KIVOFurikaedenpyouAutoSetBalanceKey = "Furikaedenpyou Auto Set Balance";
inline constexpr const char* KIVOSuitoucyouAutoSetItemAsAboveRowKey = "Suitoucyou Auto Set Item As Above Row";

// Input type per kind of entry column (integer; 1 = highlight only, else typed into).
inline constexpr const char* KIVOInputTypeForDateKey = "Input Type For Date";
inline constexpr const char* KIVOInputTypeForKamokuKey = "Input Type For Kamoku";
inline constexpr const char* KIVOInputTypeForHojyoKamokuKey = "Input Type For Hojyo Kamoku";
inline constexpr const char* KIVOInputTypeForKingakuKey = "Input Type For Kingaku";
inline constexpr const char* KIVOInputTypeForJigyoubuKey = "Input Type For Jigyoubu";
inline constexpr const char* KIVOInputTypeForTekiyouKey = "Input Type For Tekiyou";

// Input source per kind of entry column: a language identifier (string).
inline constexpr const char* KIVOInputSourceForDateKey = "Input Source For Date";
inline constexpr const char* KIVOInputSourceForKamokuKey = "Input Source For Kamoku";
inline constexpr const char* KIVOInputSourceForHojyoKamokuKey = "Input Source For Hojyo Kamoku";
inline constexpr const char* KIVOInputSourceForKingakuKey = "Input Source For Kingaku";
inline constexpr const char* KIVOInputSourceForJigyoubuKey = "Input Source For Jigyoubu";
inline constexpr const char* KIVOInputSourceForTekiyouKey = "Input Source For Tekiyou";

// Input source per kind of entry column in the older form: a script code (integer).
inline constexpr const char* KIVOInputSource1030ForDateKey = "Input Source For Date For Panther";
inline constexpr const char* KIVOInputSource1030ForKamokuKey = "Input Source For Kamoku For Panther";
inline constexpr const char* KIVOInputSource1030ForHojyoKamokuKey = "Input Source For Hojyo Kamoku For Panther";
inline constexpr const char* KIVOInputSource1030ForKingakuKey = "Input Source For Kingaku For Panther";
inline constexpr const char* KIVOInputSource1030ForJigyoubuKey = "Input Source For Jigyoubu For Panther";
inline constexpr const char* KIVOInputSource1030ForTekiyouKey = "Input Source For Tekiyou For Panther";

// Output windows (bool): recompute every open report at once after a change of the
// journal, rather than only the main window.
inline constexpr const char* KIVOAutoUpdateAllOutputWindowsKey = "Auto Update All Output Windows";

// Journal window: last size (floats) and archived page setup.
inline constexpr const char* KIVOShiwakenikkiWindowWidthKey = "Shiwakenikki Window Width";
inline constexpr const char* KIVOShiwakenikkiWindowHeightKey = "Shiwakenikki Window Height";
inline constexpr const char* KIVOShiwakenikkiPrintInfoKey = "Shiwakenikki Print Info";

// Text exports: separator (integer; 0 tab, anything else comma) and whether amounts
// are written as whole stored units (bool).
inline constexpr const char* KIVOExportTextKugiriCodeKey = "Export Text Kugiri Code";
inline constexpr const char* KIVOExportTextSaveByLongLongKingakuKey = "Export Text Save By Long Long Kingaku Flag";

// Ledger window: the "created type" column (bool), width per column count and height
// (floats), archived page setup.
inline constexpr const char* KIVOKanjyoumotocyouShowCreatedTypeKey = "Kanjyoumotocyou Show Created Type";
inline constexpr const char* KIVOKanjyoumotocyouWindowWidthKey = "%d Columns Kanjyoumotocyou Window Width";
inline constexpr const char* KIVOKanjyoumotocyouWindowHeightKey = "Kanjyoumotocyou Window Height";
inline constexpr const char* KIVOKanjyoumotocyouPrintInfoKey = "Kanjyoumotocyou Print Info";

// Trial balance: hide accounts without movement (bool), open the period sheet when the
// window is first shown (bool), last size (floats), archived page setup.
inline constexpr const char* KIVOZandakaShisanKamokuDoNotShowIfNoTorihikiKey =
    "ZandakaShisan Kamoku Do Not Show If No Torihiki";
inline constexpr const char* KIVOZandakaShisanSetPeriodWhenShowWindowKey = "Zandaka Shisan Set Period When Show Window";
inline constexpr const char* KIVOZandakaShisanWindowWidthKey = "ZandakaShisan Window Width";
inline constexpr const char* KIVOZandakaShisanWindowHeightKey = "ZandakaShisan Window Height";
inline constexpr const char* KIVOZandakaShisanPrintInfoKey = "ZandakaShisan Print Info";

// Monthly trial balance: totals start at the opening balance (bool), caption colour
// (archived colour), amount columns per printed page (integer; 0 = all), last size
// (floats), archived page setup.
inline constexpr const char* KIVOSuiiShisanAddKaishizandkaToGoukeiKey = "SuiiShisan Add Kaishizandka To Goukei";
inline constexpr const char* KIVOSuiiShisanTitleTextColorKey = "SuiiShisan Title Text Color";
inline constexpr const char* KIVOSuiiShisanPrintMonthPerPageKey = "SuiiShisan Print Month Per Page";
inline constexpr const char* KIVOSuiiShisanWindowWidthKey = "SuiiShisan Window Width";
inline constexpr const char* KIVOSuiiShisanWindowHeightKey = "SuiiShisan Window Height";
inline constexpr const char* KIVOSuiiShisanPrintInfoKey = "SuiiShisan Print Info";

// Sub-account balance list: last size (floats), archived page setup.
inline constexpr const char* KIVOHojyozandakaIchiranWindowWidthKey = "HojyozandakaIchiran Window Width";
inline constexpr const char* KIVOHojyozandakaIchiranWindowHeightKey = "HojyozandakaIchiran Window Height";
inline constexpr const char* KIVOHojyozandakaIchiranPrintInfoKey = "HojyozandakaIchiran Print Info";

// Financial statements: archived page setup shared by both statement forms, and the
// vertical layout of the statement of changes in net assets (bool).
inline constexpr const char* KIVOHoukokusyoPrintInfoKey = "Houkokusyo Print Info";
inline constexpr const char* KIVOTateKabunushiShihonnadoKeisansyoKey = "Tate Kabunushi Shihonnado Keisansyo";

// Depreciation: rounding of scaled amounts (integer; 0 toward zero, 1 half up, else
// up) and the ratios a new asset starts with (doubles, percent).
inline constexpr const char* KIVOGankasyoukyakuhiRoundingTypeKey = "Gankasyoukyakuhi Rounding Type";
inline constexpr const char* KIVOGankasyoukyakuhiDefaultZanzonWariaiKey = "Gankasyoukyakuhi Default Zanzon Wariai";
inline constexpr const char* KIVOGankasyoukyakuhiDefaultZanzonGendoWariaiKey =
    "Gankasyoukyakuhi Default Zanzon Gendo Wariai";

// Asset register: width per column count and height (floats); archived page setups of
// the register and of the depreciable-asset declaration.
inline constexpr const char* KIVOGenkasyoukyakuShisanWindowWidthKey = "%d Columns GenkasyoukyakuShisan Window Width";
inline constexpr const char* KIVOGenkasyoukyakuShisanWindowHeightKey = "GenkasyoukyakuShisan Window Height";
inline constexpr const char* KIVOGenkasyoukyakuShisanPrintInfoKey = "GenkasyoukyakuShisan Print Info";
inline constexpr const char* KIVOSyoukyakushisanShinkokusyoPrintInfoKey = "SyoukyakushisanShinkokusyo Print Info";

// Application: the bundle version of the last run (string), so that the version
// history is shown once after each update.
inline constexpr const char* KIVOKivosaVersionOfUsedLastTimeKey = "Kivosa Version Of Used Last Time";

}  // namespace kivo
