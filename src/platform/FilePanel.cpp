#include "platform/FilePanel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "platform/KeyboardReturn.h"

namespace kivo {
namespace {

FilePanel::Responder& responder()
{
  static FilePanel::Responder r;
  return r;
}

QString filter()
{
  return QStringLiteral("Kivosavan 書類 (*.%1);;すべてのファイル (*)").arg(QLatin1String(FilePanel::kDocumentSuffix));
}

QString withSuffix(const QString& path)
{
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + QLatin1String(FilePanel::kDocumentSuffix);
}

// The panel over the window, run to its answer within the keyboard's return: the
// chosen file, or an empty string when cancelled.
QString runPanel(KeyboardReturn& back, QWidget* parent, const QString& title, const QString& start,
                 const QString& filters, QFileDialog::AcceptMode mode)
{
  QFileDialog panel(parent, title, start, filters);
  // The program's own panel, never the desktop's (a platform theme's): keys typed
  // ahead of it go into its field, and it looks the same everywhere.
  panel.setOption(QFileDialog::DontUseNativeDialog);
  panel.setAcceptMode(mode);
  panel.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  if (back.exec(panel) != QDialog::Accepted) return {};
  const QStringList chosen = panel.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace

QString FilePanel::runOpenPanel(QWidget* parent)
{
  KeyboardReturn back(parent);
  if (responder()) return responder()(Kind::Open, QString(), parent);
  return runPanel(back, parent, QStringLiteral("開く"), QDir::homePath(), filter(), QFileDialog::AcceptOpen);
}

QString FilePanel::runOpenTextFilePanel(QWidget* parent, const QString& title)
{
  KeyboardReturn back(parent);
  if (responder()) return responder()(Kind::Open, QStringLiteral("txt"), parent);
  return runPanel(back, parent, title, QDir::homePath(),
                  QStringLiteral("テキストファイル (*.txt *.text);;すべてのファイル (*)"), QFileDialog::AcceptOpen);
}

QString FilePanel::runSavePanel(QWidget* parent, const QString& suggestedName)
{
  KeyboardReturn back(parent);
  if (responder()) return withSuffix(responder()(Kind::Save, suggestedName, parent));
  const QString start = QDir::home().filePath(suggestedName + QLatin1Char('.') + QLatin1String(kDocumentSuffix));
  return withSuffix(runPanel(back, parent, QStringLiteral("保存"), start, filter(), QFileDialog::AcceptSave));
}

void FilePanel::setResponderForTesting(Responder r) { responder() = std::move(r); }

}  // namespace kivo
