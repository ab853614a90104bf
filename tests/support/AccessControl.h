// A file's access ACL and user attributes, given and read as the system stores them
// (an ACL is the attribute "system.posix_acl_access", or "system.posix_acl_default"
// on a folder), without a library.
#pragma once

#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kivo::test {

constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr const char* kDefaultAcl = "system.posix_acl_default";

// Gives the file or folder the ACL "user::rw- user:<user>:rw- group::<group bits>
// mask::rw- other::---"; false when its file system takes none.
inline bool setAcl(const std::string& path, const char* attribute, uint32_t user, uint16_t group)
{
  std::string bytes;
  const auto put = [&](uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(POSIX_ACL_XATTR_VERSION, 4);
  const uint32_t none = static_cast<uint32_t>(ACL_UNDEFINED_ID);
  const uint32_t entries[][3] = {{ACL_USER_OBJ, 6, none},
                                 {ACL_USER, 6, user},
                                 {ACL_GROUP_OBJ, group, none},
                                 {ACL_MASK, 6, none},
                                 {ACL_OTHER, 0, none}};
  for (const auto& [tag, permission, id] : entries) {
    put(tag, 2);
    put(permission, 2);
    put(id, 4);
  }
  return ::setxattr(path.c_str(), attribute, bytes.data(), bytes.size(), 0) == 0;
}
// A book the owner and nobody may write and the owning group only read.
inline bool shareWithNobody(const std::string& path) { return setAcl(path, kAccessAcl, 65534, 4); }

// The file's mode, access ACL (as stored) and user attributes: what a replaced file keeps.
inline std::string accessOf(const std::string& path)
{
  struct stat st {};
  char mode[16] = "missing";
  if (::stat(path.c_str(), &st) == 0)
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
  std::map<std::string, std::string> kept;
  std::vector<char> names(64 << 10), value(64 << 10);
  const ssize_t listed = ::listxattr(path.c_str(), names.data(), names.size());
  for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
    const std::string name = names.data() + at;
    const ssize_t n = ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
    if (name.starts_with("user.") || name == kAccessAcl) kept[name] = std::string(value.data(), n > 0 ? n : 0);
  }
  std::string out = mode;
  for (const auto& [name, bytes] : kept) out += " " + name + "=" + bytes;
  return out;
}

// Whether a write through save keeps the ACL shareWithNobody gives and a user
// attribute (true where the file system takes neither).
inline bool keepsAccess(const std::string& path, const std::function<bool()>& save)
{
  if (!shareWithNobody(path) || ::setxattr(path.c_str(), "user.note", "kept", 4, 0) != 0) return true;
  const std::string before = accessOf(path);
  return save() && accessOf(path) == before;
}

}  // namespace kivo::test
