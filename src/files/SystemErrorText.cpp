#include "files/SystemErrorText.h"

#include <cerrno>

namespace kivo {

std::string SystemErrorText::of(int errorNumber)
{
  switch (errorNumber) {
  case 0: return "原因の分からないエラーが起きました";
  case EACCES:
  case EPERM: return "アクセス権がありません";
  case ENOSPC:
  case EDQUOT: return "ディスクの空き容量が足りません";
  case EFBIG: return "ファイルが大きすぎます";
  case EROFS: return "読み出し専用のディスクです";
  case ENOENT: return "ファイルまたはフォルダが見つかりません";
  case ENOTDIR: return "フォルダではないものがフォルダの場所にあります";
  case EISDIR: return "同じ名前のフォルダがあります";
  case EEXIST: return "同じ名前のものがあります";
  case ENAMETOOLONG: return "名前が長すぎます";
  case ELOOP: return "シンボリックリンクが循環しています";
  case EIO: return "ディスクの読み書きでエラーが起きました";
  case EBUSY:
  case ETXTBSY: return "ファイルが使用中です";
  case EMFILE:
  case ENFILE: return "開いているファイルが多すぎます";
  case ENOMEM: return "メモリが足りません";
  case EXDEV: return "別のディスクにまたがる置き換えはできません";
  default: return "システムのエラー（番号 " + std::to_string(errorNumber) + "）が起きました";
  }
}

}  // namespace kivo
