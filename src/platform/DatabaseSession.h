// The database seam of a detection run: the run talks to this interface; the
// program drives ADO behind it and tests script it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A failed database operation. `Result` is the HRESULT that reported it;
// `Text` the message with the provider's own description when it gave one.
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(long result, std::wstring text);
    long Result() const { return result_; }
    const std::wstring& Text() const { return text_; }

private:
    long result_;
    std::wstring text_;
};

class IDatabaseSession {
public:
    virtual ~IDatabaseSession() = default;
    // Closes the open query and the connection; nothing happens when closed.
    virtual void Disconnect() = 0;
    virtual void SetConnectionString(const std::wstring& connectionString) = 0;
    // Opens the connection; throws DatabaseError on failure.
    virtual void Connect() = 0;
    // Closes the query; nothing happens when it is closed.
    virtual void CloseQuery() = 0;
    // Runs the command text made of the lines, each followed by CR LF, and
    // keeps its result open. Throws DatabaseError.
    virtual void OpenQuery(const std::vector<std::wstring>& sqlLines) = 0;
    virtual int RecordCount() = 0;
    // The named column of the current record, as text. Throws DatabaseError.
    virtual std::wstring FieldText(const std::wstring& fieldName) = 0;
};

} // namespace platform
