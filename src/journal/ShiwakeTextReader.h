// Reads a journal text file into a document: one line per journal entry, fields
// split by a tab or a comma (the byte after the first line's flag decides), names
// and descriptions in the file's encoding.
//
// The whole file is checked first; nothing of the document changes unless every
// line passes. Then the vouchers are numbered from the company's counter and
// merged into the journal at once, and the document's refresh protocol runs once.
// A refusal names the line (counted from 1 as an editor counts lines: CR LF, a lone CR
// and a lone LF each end one, empty lines included) and the field. Empty lines are
// passed over and a DOS end-of-file mark may close the file; anything else on a line,
// the last one included, must be a whole record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/Date.h"

namespace kivo {

class MyDocument;

class ShiwakeTextReader {
public:
  // Converts a field's bytes into UTF-8 (appended to out); false when the bytes are
  // not valid in the file's encoding.
  using Decoder = std::function<bool(std::string_view bytes, std::string& out)>;
  // Polled once per line with the line number; false cancels the import.
  using ContinuePoll = std::function<bool(int32_t lineNumber)>;
  // Told each line's number and date once the date is read (for the progress text).
  using DateRead = std::function<void(int32_t lineNumber, Date date)>;
  // Asked once every line has passed, before anything of the document changes: the
  // last chance to cancel; false cancels the import.
  using RegisterPoll = std::function<bool()>;

  struct Result {
    bool ok = false;
    int32_t lineNumber = 0;  // the refused line
    std::string message;     // for the user; empty on success
    size_t entryCount = 0;   // entries registered
    int32_t voucherCount = 0;
  };

  static constexpr size_t kMaxFileSize = size_t{64} << 20;
  static constexpr size_t kMaxTekiyouLength = 40;  // characters

  // Checks the whole file, then registers its entries into the document; on any
  // refusal the document (journal, counter, change state, undo) is left unchanged.
  static Result importShiwake(MyDocument& document, std::string_view data, const Decoder& decoder,
                              const ContinuePoll& shouldContinue = {}, const DateRead& dateRead = {},
                              const RegisterPoll& mayRegister = {});

  // The progress sheet's line while importing: "%d 行目 - %d月%d日" (the closing
  // adjustment month shows its own month and day).
  static std::string progressText(int32_t lineNumber, Date date);

  static constexpr const char* kTitle = "取り込みを中止";
  static constexpr const char* kCancelMessage = "キャンセル ボタンがクリックされました。";
  static constexpr const char* kTooLargeMessage = "ファイルが大きすぎるため取り込めません。";
};

}  // namespace kivo
