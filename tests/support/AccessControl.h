// A file's access ACL and user attributes, given and read as the system stores them
// (an ACL is the attribute "system.posix_acl_access", or "system.posix_acl_default"
// on a folder), without a library.
#pragma once

#include <linux/posix_acl.h>
#include <linux/posix_acl_xattr.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kivo::test {

constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr const char* kDefaultAcl = "system.posix_acl_default";
constexpr uint32_t kNobody = 65534;

struct AclEntry {
  uint16_t tag;
  uint16_t permission;
  uint32_t id = static_cast<uint32_t>(ACL_UNDEFINED_ID);
};

// "user::rw- user:nobody:rw- group::r-- mask::rw- other::---": a book the owner and a
// named user may write and the owning group only read.
inline const std::vector<AclEntry> kSharedWithNobody = {
    {ACL_USER_OBJ, 6}, {ACL_USER, 6, kNobody}, {ACL_GROUP_OBJ, 4}, {ACL_MASK, 6}, {ACL_OTHER, 0}};

// Gives the file or folder the ACL (entries in the system's order: by tag, then id);
// false when its file system takes none.
inline bool setAcl(const std::string& path, const char* attribute, const std::vector<AclEntry>& entries)
{
  std::string bytes;
  const auto put = [&](uint32_t v, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(POSIX_ACL_XATTR_VERSION, 4);
  for (const AclEntry& e : entries) {
    put(e.tag, 2);
    put(e.permission, 2);
    put(e.id, 4);
  }
  return ::setxattr(path.c_str(), attribute, bytes.data(), bytes.size(), 0) == 0;
}

// What a replaced file must keep, as one line: its mode, its access ACL as getfacl
// shows it (with ids for names), and its user attributes.
inline std::string accessOf(const std::string& path)
{
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return "missing";
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
  std::string out = mode;
  std::vector<char> value(64 << 10);
  const ssize_t n = ::getxattr(path.c_str(), kAccessAcl, value.data(), value.size());
  for (ssize_t at = 4; at + 8 <= n; at += 8) {
    const auto u = [&](ssize_t i) {
      return static_cast<unsigned>(static_cast<uint8_t>(value[static_cast<size_t>(i)]));
    };
    const unsigned tag = u(at) | u(at + 1) << 8, permission = u(at + 2);
    const unsigned id = u(at + 4) | u(at + 5) << 8 | u(at + 6) << 16 | u(at + 7) << 24;
    const char* kind = tag == ACL_USER_OBJ || tag == ACL_USER     ? "user"
                       : tag == ACL_GROUP_OBJ || tag == ACL_GROUP ? "group"
                       : tag == ACL_MASK                          ? "mask"
                                                                  : "other";
    const std::string named = tag == ACL_USER || tag == ACL_GROUP ? std::to_string(id) : "";
    out += std::string(" ") + kind + ":" + named + ":" + (permission & 4 ? "r" : "-") + (permission & 2 ? "w" : "-") +
           (permission & 1 ? "x" : "-");
  }
  std::vector<char> names(64 << 10);
  const ssize_t listed = ::listxattr(path.c_str(), names.data(), names.size());
  for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
    const char* name = names.data() + at;
    if (std::strncmp(name, "user.", 5) != 0) continue;
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    out += std::string(" ") + name + "=" + std::string(value.data(), static_cast<size_t>(std::max<ssize_t>(size, 0)));
  }
  return out;
}

// Gives the file the ACL kSharedWithNobody and a user attribute; false when its file
// system takes either not.
inline bool shareWithNobody(const std::string& path)
{
  return setAcl(path, kAccessAcl, kSharedWithNobody) && ::setxattr(path.c_str(), "user.kivo-note", "kept", 4, 0) == 0;
}

}  // namespace kivo::test
