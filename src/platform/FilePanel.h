// The open and save panels for documents, with a seam through which tests answer
// them instead of a person. Each panel is over the window the command was given in,
// which has the keyboard again when the panel's function returns (KeyboardReturn).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kivo {

class FilePanel {
public:
  static constexpr const char* kDocumentSuffix = "kivo";

  // The chosen document file, or an empty string when cancelled.
  static QString runOpenPanel(QWidget* parent);
  // The chosen text file to read (".txt" and ".text" offered first), or an empty
  // string when cancelled. A test responder is asked with Kind::Open and "txt".
  static QString runOpenTextFilePanel(QWidget* parent, const QString& title);
  // The chosen file to save to (with the document suffix added when missing), or an
  // empty string when cancelled. suggestedName is the name shown first.
  static QString runSavePanel(QWidget* parent, const QString& suggestedName);

  enum class Kind { Open, Save };
  // Asked with the window the panel would be over.
  using Responder = std::function<QString(Kind, const QString& suggestedName, QWidget* parent)>;
  // Tests: answer every panel through the responder instead of showing it (an empty
  // function shows panels again).
  static void setResponderForTesting(Responder responder);
};

}  // namespace kivo
