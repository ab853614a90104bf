// Text that many records hold alike: a year of books repeats the same descriptions
// thousands of times. Copies share one immutable string rather than each owning its own,
// and the empty text owns nothing.
//
// One pointer wide (a journal entry holds two, and a year holds a hundred thousand
// entries): the count of holders lives with the string. It is counted as the standard
// shared pointer counts, atomically once the process has started a second thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#endif

namespace kivo {

class SharedText {
public:
  SharedText() = default;
  explicit SharedText(const std::string& s) : text_(s.empty() ? nullptr : new Text{1, s}) {}
  SharedText(const SharedText& other) noexcept : text_(other.text_) { hold(); }
  SharedText(SharedText&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  SharedText& operator=(SharedText other) noexcept
  {
    std::swap(text_, other.text_);
    return *this;
  }
  ~SharedText() { letGo(); }

  const std::string& str() const { return text_ ? text_->text : empty(); }

private:
  struct Text {
    uint32_t holders;
    const std::string text;
  };

  static bool singleThreaded()
  {
#if __has_include(<sys/single_threaded.h>)
    return __libc_single_threaded;
#else
    return false;
#endif
  }
  void hold() const
  {
    if (!text_) return;
    if (singleThreaded())
      ++text_->holders;
    else
      std::atomic_ref<uint32_t>(text_->holders).fetch_add(1, std::memory_order_relaxed);
  }
  void letGo()
  {
    if (!text_) return;
    const uint32_t left = singleThreaded()
                              ? --text_->holders
                              : std::atomic_ref<uint32_t>(text_->holders).fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete text_;
  }
  static const std::string& empty()
  {
    static const std::string none;
    return none;
  }

  Text* text_ = nullptr;
};

}  // namespace kivo
