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

}  // namespace

QString FilePanel::runOpenPanel(QWidget* parent)
{
  const KeyboardReturn back(parent);
  if (responder()) return responder()(Kind::Open, QString(), parent);
  return QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), QDir::homePath(), filter());
}

QString FilePanel::runOpenTextFilePanel(QWidget* parent, const QString& title)
{
  const KeyboardReturn back(parent);
  if (responder()) return responder()(Kind::Open, QStringLiteral("txt"), parent);
  return QFileDialog::getOpenFileName(parent, title, QDir::homePath(),
                                      QStringLiteral("テキストファイル (*.txt *.text);;すべてのファイル (*)"));
}

QString FilePanel::runSavePanel(QWidget* parent, const QString& suggestedName)
{
  const KeyboardReturn back(parent);
  if (responder()) return withSuffix(responder()(Kind::Save, suggestedName, parent));
  const QString start = QDir::home().filePath(suggestedName + QLatin1Char('.') + QLatin1String(kDocumentSuffix));
  return withSuffix(QFileDialog::getSaveFileName(parent, QStringLiteral("保存"), start, filter()));
}

void FilePanel::setResponderForTesting(Responder r) { responder() = std::move(r); }

}  // namespace kivo
