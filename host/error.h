#pragma once
// The one error type for every failure of the host: the editor's object model, the command
// bars, the settings store and the platform services all report failures by throwing it.

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace host {

// Codes follow the HRESULTs the editor itself returns, so a failure keeps its meaning when it
// crosses back into COM.
namespace codes {
inline constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005);  // E_FAIL
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057);
inline constexpr std::int32_t kNoInterface =
    static_cast<std::int32_t>(0x80004002);  // E_NOINTERFACE
inline constexpr std::int32_t kTypeMismatch =
    static_cast<std::int32_t>(0x80020005);  // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t kOverflow = static_cast<std::int32_t>(0x8002000A);  // DISP_E_OVERFLOW
inline constexpr std::int32_t kNotFound = static_cast<std::int32_t>(0x8002000B);  // DISP_E_BADINDEX
// The editor's own answers that a name is not there: run-time errors 9 and 35.
inline constexpr std::int32_t kSubscriptOutOfRange = static_cast<std::int32_t>(0x800A0009);
inline constexpr std::int32_t kSubOrFunctionNotDefined = static_cast<std::int32_t>(0x800A0023);
}  // namespace codes

class HostError : public std::exception {
 public:
  HostError(std::int32_t code, std::u16string description);

  std::int32_t Code() const noexcept { return code_; }
  const std::u16string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t code_;
  std::u16string description_;
  std::string what_;
};

// The "ignored" failure regime: one statement runs, and a host failure in it is skipped so the
// next statement can run. Anything that is not a host failure still travels on.
template <typename Statement>
auto Ignore(Statement&& statement) {
  using Result = std::invoke_result_t<Statement>;
  if constexpr (std::is_void_v<Result>) {
    try {
      std::forward<Statement>(statement)();
    } catch (const HostError&) {
    }
  } else {
    try {
      return std::optional<Result>(std::forward<Statement>(statement)());
    } catch (const HostError&) {
      return std::optional<Result>();
    }
  }
}

}  // namespace host
