#include "host/error.h"

#include "host/text.h"

namespace host {

HostError::HostError(std::int32_t code, std::u16string description)
    : code_(code), description_(std::move(description)), what_(ToUtf8(description_)) {}

}  // namespace host
