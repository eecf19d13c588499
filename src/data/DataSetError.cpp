#include "data/DataSetError.h"

#include "data/TextUtil.h"

namespace data {

DataSetError::DataSetError(const std::wstring& message)
    : std::runtime_error(ToUtf8(message)), message_(message) {}

} // namespace data
