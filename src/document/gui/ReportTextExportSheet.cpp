#include "document/gui/ReportTextExportSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

#include "document/MyDocument.h"
#include "document/gui/OpenDocument.h"
#include "document/gui/ProgressStateController.h"
#include "platform/AlertSheet.h"
#include "platform/KeyboardReturn.h"
#include "platform/UserDefaults.h"
#include "platform/UserDefaultsKeys.h"

namespace kivo {
namespace {

ReportTextExportSheet::Responder& responder()
{
  static ReportTextExportSheet::Responder r;
  return r;
}

ReportTextExportSheet::CheckboxResponder& checkboxResponder()
{
  static ReportTextExportSheet::CheckboxResponder r;
  return r;
}

QString withRequiredFileType(const QString& path)
{
  if (path.isEmpty()) return path;
  const QString suffix = QLatin1Char('.') + QLatin1String(ReportTextExportSheet::kRequiredFileType);
  return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

// The separator of a stored code: 0 is the tab, anything else the comma.
int32_t kugiriIndexOfCode(int64_t code) { return code == 0 ? 0 : 1; }

}  // namespace

QStringList ReportTextExportSheet::kugiriTitles() { return {QStringLiteral("タブ"), QStringLiteral("カンマ")}; }

QString ReportTextExportSheet::runSavePanel(QWidget* window) { return runPanel(window, std::nullopt); }

QString ReportTextExportSheet::runSavePanelWithLongLongKingaku(QWidget* window, bool enabled)
{
  return runPanel(window, enabled);
}

QString ReportTextExportSheet::runPanel(QWidget* window, std::optional<bool> longLongEnabled)
{
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
  const bool longLongPreset = defaults.boolForKey(KIVOExportTextSaveByLongLongKingakuKey);
  bool longLong = longLongPreset;
  const int32_t preset = kugiriIndexOfCode(defaults.integerForKey(KIVOExportTextKugiriCodeKey));
  int32_t chosen = preset;
  QString path;
  // The report window has the keyboard again before the write starts.
  KeyboardReturn back(window);
  if (responder()) {
    path = responder()(preset, chosen);
    if (longLongEnabled && checkboxResponder()) longLong = checkboxResponder()(longLongPreset, *longLongEnabled);
  } else {
    QFileDialog panel(window, QString::fromUtf8(kPanelTitle), QDir::homePath());
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    // The separator pop-up goes below the panel's own fields, so the panel is Qt's.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setNameFilter(QStringLiteral("テキストファイル (*.%1)").arg(QLatin1String(kRequiredFileType)));
    panel.setDefaultSuffix(QLatin1String(kRequiredFileType));
    auto* kugiriPopUp = new QComboBox(&panel);
    kugiriPopUp->addItems(kugiriTitles());
    kugiriPopUp->setCurrentIndex(preset);
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout())) {
      const int row = grid->rowCount();
      grid->addWidget(new QLabel(QString::fromUtf8(kKugiriTitle), &panel), row, 0);
      grid->addWidget(kugiriPopUp, row, 1, Qt::AlignLeft);
    }
    QCheckBox* longLongCheckbox = nullptr;
    if (longLongEnabled) {
      longLongCheckbox = new QCheckBox(QString::fromUtf8(kLongLongKingakuTitle), &panel);
      longLongCheckbox->setChecked(longLongPreset);
      longLongCheckbox->setEnabled(*longLongEnabled);
      if (auto* grid = qobject_cast<QGridLayout*>(panel.layout()))
        grid->addWidget(longLongCheckbox, grid->rowCount(), 1, Qt::AlignLeft);
    }
    // The command waits for the panel: nothing else of the program takes input
    // meanwhile, or another window could close the document and the report window
    // the panel runs for.
    panel.setWindowModality(Qt::ApplicationModal);
    if (back.exec(panel) == QDialog::Accepted && !panel.selectedFiles().isEmpty()) path = panel.selectedFiles().front();
    chosen = kugiriPopUp->currentIndex();
    if (longLongCheckbox) longLong = longLongCheckbox->isChecked();
  }
  defaults.setInteger(kugiriIndexOfCode(chosen), KIVOExportTextKugiriCodeKey);
  if (longLongEnabled) defaults.setBool(longLong, KIVOExportTextSaveByLongLongKingakuKey);
  return withRequiredFileType(path);
}

ReportTextExporter::Result ReportTextExportSheet::writeWithProgress(OpenDocument* document, QWidget* window,
                                                                    const Write& write)
{
  ProgressStateController* progress = document->progressStateController();
  progress->beginModalSession(window);
  progress->setProgressFieldStringValue(QString::fromUtf8(kProgressText));
  progress->setSubProgressFieldStringValue(QString());
  progress->setCancelButtonEnabled(true);
  progress->startProgressIndicatorAnimation();
  const ReportTextExporter::Result result =
      write([progress] { return progress->runModalSession() == ProgressStateController::ModalResponse::Continue; });
  progress->stopProgressIndicatorAnimation();
  progress->endModalSession();
  if (result.status == ReportTextExporter::Result::Status::Unencodable ||
      result.status == ReportTextExporter::Result::Status::WriteFailed)
    AlertSheet::beginAlertSheet(window, QString::fromUtf8(kCannotWriteTitle), QString::fromStdString(result.message));
  return result;
}

void ReportTextExportSheet::exportTextFile(OpenDocument* document, QWidget* window, const ExportWrite& write)
{
  const QString path = runSavePanel(window);
  if (path.isEmpty()) return;
  const int64_t kugiriCode = UserDefaults::standardUserDefaults().integerForKey(KIVOExportTextKugiriCodeKey);
  const ReportTextExporter exporter(ReportTextExporter::kugiriOfCode(static_cast<int32_t>(kugiriCode)));
  const std::string target = QFile::encodeName(path).toStdString();
  writeWithProgress(document, window,
                    [&](const ReportTextExporter::ContinuePoll& poll) { return write(exporter, target, poll); });
}

void ReportTextExportSheet::setResponderForTesting(Responder r) { responder() = std::move(r); }

void ReportTextExportSheet::setCheckboxResponderForTesting(CheckboxResponder r) { checkboxResponder() = std::move(r); }

}  // namespace kivo
