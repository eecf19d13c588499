#include "platform/DatabaseSession.h"

#include "platform/AnsiText.h"

namespace platform {

DatabaseError::DatabaseError(long result, std::wstring text)
    : std::runtime_error(WideToAnsi(text)), result_(result), text_(std::move(text)) {}

} // namespace platform
