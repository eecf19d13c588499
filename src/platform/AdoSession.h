// The database session of the program: ADO over OLE DB through COM vtables.
// One connection that stays open between uses, and one query on it whose
// result set is fetched to the client so that its record count is known.
// COM must be initialised on the thread (see ComInit).
#pragma once

#include "platform/AdoInterfaces.h"
#include "platform/Com.h"
#include "platform/DatabaseSession.h"

#include <string>
#include <vector>

namespace platform {

// An open result set, closed and released when dropped.
class AdoRecordset {
public:
    AdoRecordset() = default;
    // Takes over a recordset, open or not.
    explicit AdoRecordset(ComPtr<ado::Recordset> recordset) : recordset_(std::move(recordset)) {}
    AdoRecordset(AdoRecordset&&) noexcept = default;
    AdoRecordset& operator=(AdoRecordset&& other) noexcept;
    AdoRecordset(const AdoRecordset&) = delete;
    AdoRecordset& operator=(const AdoRecordset&) = delete;
    ~AdoRecordset() { Close(); }

    bool IsOpen() const;
    // Nothing happens when closed.
    void Close() noexcept;
    // Throws DatabaseError when closed.
    int RecordCount() const;
    // The named field of the current record as text: NULL reads as "".
    // Throws DatabaseError when closed, at no record, for an unknown name, or
    // for a value that has no text form.
    std::wstring FieldText(const std::wstring& fieldName) const;

private:
    ado::Recordset& Require() const;

    ComPtr<ado::Recordset> recordset_;
};

class AdoSession : public IDatabaseSession {
public:
    // Provider and time-outs of the connection and of each query.
    static constexpr const wchar_t* kProvider = L"SQLOLEDB.1";
    static constexpr long kConnectionCommandTimeout = 0; // no limit
    static constexpr long kQueryCommandTimeout = 30;     // seconds

    // The ADO objects are created on first use, so that a system without
    // ADO fails at connecting, not at start-up.
    AdoSession() = default;
    AdoSession(const AdoSession&) = delete;
    AdoSession& operator=(const AdoSession&) = delete;
    ~AdoSession() override;

    void Disconnect() override;
    // A different string closes an open connection.
    void SetConnectionString(const std::wstring& connectionString) override;
    // Nothing happens when already connected.
    void Connect() override;
    void CloseQuery() override;
    void OpenQuery(const std::vector<std::wstring>& sqlLines) override;
    int RecordCount() override;
    std::wstring FieldText(const std::wstring& fieldName) override;

    bool Connected() const;
    const std::wstring& ConnectionString() const { return connectionString_; }

private:
    ado::Connection& RequireConnectionObject();

    ComPtr<ado::Connection> connection_;
    AdoRecordset query_;
    std::wstring connectionString_;
};

} // namespace platform
