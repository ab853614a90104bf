// The frame every report window's text export shares: the save panel with its
// separator choice, then the write under the document's progress sheet, whose
// cancel button stops it before anything is written.
//
// The separator choice (0 tab, 1 comma) is the setting "Export Text Kugiri Code":
// the panel starts from it and stores what the user chose, also when the user
// cancels. A write that fails, or a text that Shift-JIS cannot hold, is told to the
// user in an alert sheet on the report window; a cancelled export says nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "files/ReportTextExporter.h"

class QWidget;

namespace kivo {

class OpenDocument;

class ReportTextExportSheet {
public:
  static constexpr const char* kRequiredFileType = "txt";
  static constexpr const char* kPanelTitle = "テキストファイルに書き出す";
  static constexpr const char* kKugiriTitle = "区切り文字:";
  static constexpr const char* kLongLongKingakuTitle = "金額を最小単位の整数で書き出す";
  static constexpr const char* kProgressText = "テキストファイルに書き出し中";
  static constexpr const char* kCannotWriteTitle = "書き出せません";

  // The separator pop-up's items, in the order of the setting's codes.
  static QStringList kugiriTitles();

  // Runs the save panel over the window, application-modal as every panel run to its
  // answer (a window-modal one would leave the other windows free to close the
  // document, and the report window, under it). Answers the file to write,
  // ".txt" added when the name does not end in it, or an empty string when the
  // user cancelled. The separator chosen is stored in the setting either way.
  static QString runSavePanel(QWidget* window);
  // The same with a check box below the separator (the journal's export): amounts
  // written as integers of stored units, the setting "Export Text Save By Long Long
  // Kingaku Flag". It can be changed only when the amounts have decimals
  // (enabled); its state is stored also when the user cancels.
  static QString runSavePanelWithLongLongKingaku(QWidget* window, bool enabled);

  // Runs the write under the document's progress sheet ("テキストファイルに書き出し中",
  // cancel enabled, indeterminate bar); the poll handed to the write answers false
  // once the user pressed cancel. Answers the write's result.
  using Write = std::function<ReportTextExporter::Result(const ReportTextExporter::ContinuePoll&)>;
  static ReportTextExporter::Result writeWithProgress(OpenDocument* document, QWidget* window, const Write& write);

  // The whole export: the save panel, then the write under the progress sheet with an
  // exporter of the document's company and the separator chosen, to the file chosen
  // (its name as the file system wants it). Nothing happens when the user cancels
  // the panel.
  using ExportWrite = std::function<ReportTextExporter::Result(
      const ReportTextExporter& exporter, const std::string& path, const ReportTextExporter::ContinuePoll& poll)>;
  static void exportTextFile(OpenDocument* document, QWidget* window, const ExportWrite& write);

  // Tests: answer every save panel instead of a person. The responder gets the
  // preset separator code, sets the chosen one and answers the path (empty:
  // cancelled). An empty function shows panels again.
  using Responder = std::function<QString(int32_t presetKugiriCode, int32_t& kugiriCode)>;
  static void setResponderForTesting(Responder responder);
  // Tests: the check box's state as the user leaves it, from its preset and whether it
  // is enabled.
  using CheckboxResponder = std::function<bool(bool preset, bool enabled)>;
  static void setCheckboxResponderForTesting(CheckboxResponder responder);

private:
  // The panel, with the check box when longLongEnabled holds a value.
  static QString runPanel(QWidget* window, std::optional<bool> longLongEnabled);
};

}  // namespace kivo
