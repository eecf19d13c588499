// DataSetError: every failure of the dataset layer (unknown field or index,
// writing outside edit or insert state, operating on a closed dataset).
#pragma once

#include <stdexcept>
#include <string>

namespace data {

class DataSetError : public std::runtime_error {
public:
    explicit DataSetError(const std::wstring& message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

} // namespace data
