#include "platform/AdoSession.h"

#include <cwchar>
#include <utility>

namespace platform {

namespace {

// ADO's own codes for an operation on a closed object and on no record.
constexpr HRESULT kErrObjectClosed = static_cast<HRESULT>(0x800A0E78);
constexpr HRESULT kErrNoCurrentRecord = static_cast<HRESULT>(0x800A0BCD);

// The description the failing object left for this thread, if any.
std::wstring ErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    BStr description;
    if (FAILED(info->GetDescription(description.put()))) return {};
    return description.str();
}

[[noreturn]] void Fail(HRESULT hr, const wchar_t* operation) {
    wchar_t code[16];
    std::swprintf(code, 16, L"%08lX", static_cast<unsigned long>(hr));
    std::wstring text = operation;
    text += L" (HRESULT 0x";
    text += code;
    text += L")";
    const std::wstring description = ErrorDescription();
    if (!description.empty()) text += L": " + description;
    throw DatabaseError(hr, std::move(text));
}

void Check(HRESULT hr, const wchar_t* operation) {
    if (FAILED(hr)) Fail(hr, operation);
}

template <typename T> ComPtr<T> Create(const CLSID& clsid, const IID& iid, const wchar_t* what) {
    ComPtr<T> object;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                           reinterpret_cast<void**>(object.put())),
          what);
    return object;
}

} // namespace

// --- AdoRecordset ----------------------------------------------------------

AdoRecordset& AdoRecordset::operator=(AdoRecordset&& other) noexcept {
    if (this != &other) {
        Close();
        recordset_ = std::move(other.recordset_);
    }
    return *this;
}

bool AdoRecordset::IsOpen() const {
    LONG state = 0;
    return recordset_ && SUCCEEDED(recordset_->get_State(&state)) && (state & ado::kStateOpen);
}

void AdoRecordset::Close() noexcept {
    if (IsOpen()) recordset_->Close(); // releasing frees it even if closing fails
    recordset_.reset();
}

ado::Recordset& AdoRecordset::Require() const {
    if (!IsOpen()) Fail(kErrObjectClosed, L"The query is not open");
    return *recordset_.get();
}

int AdoRecordset::RecordCount() const {
    // Zeroed 64 bits: a 32-bit count leaves the high half alone.
    LONGLONG count = 0;
    Check(Require().get_RecordCount(&count), L"Cannot count the records");
    return static_cast<int>(static_cast<LONG>(count & 0xFFFFFFFF));
}

std::wstring AdoRecordset::FieldText(const std::wstring& fieldName) const {
    ado::Recordset& recordset = Require();
    VARIANT_BOOL eof = VARIANT_FALSE;
    VARIANT_BOOL bof = VARIANT_FALSE;
    Check(recordset.get_EOF(&eof), L"Cannot read the record position");
    Check(recordset.get_BOF(&bof), L"Cannot read the record position");
    if (eof != VARIANT_FALSE || bof != VARIANT_FALSE)
        Fail(kErrNoCurrentRecord, L"There is no current record");

    ComPtr<ado::Fields> fields;
    Check(recordset.get_Fields(fields.put()), L"Cannot read the fields");
    Variant index;
    V_VT(&index.get()) = VT_BSTR;
    V_BSTR(&index.get()) = BStr(fieldName).release();
    ComPtr<ado::Field> field;
    Check(fields->get_Item(index.get(), field.put()), L"Unknown field");
    Variant value;
    Check(field->get_Value(value.put()), L"Cannot read the field value");
    std::wstring text;
    if (!VariantToText(value.get(), text))
        Fail(DISP_E_TYPEMISMATCH, L"The field value has no text form");
    return text;
}

// --- AdoSession ------------------------------------------------------------

AdoSession::~AdoSession() {
    try {
        Disconnect();
    } catch (...) {
        // Closing at the end of the program: nothing is left to report to.
    }
}

ado::Connection& AdoSession::RequireConnectionObject() {
    if (!connection_) {
        ComPtr<ado::Connection> connection = Create<ado::Connection>(
            ado::kClsidConnection, ado::kIidConnection, L"Cannot create the ADO connection");
        Check(connection->put_Provider(BStr(kProvider).get()), L"Cannot set the provider");
        Check(connection->put_CommandTimeout(kConnectionCommandTimeout),
              L"Cannot set the command time-out");
        connection_ = std::move(connection);
    }
    return *connection_.get();
}

bool AdoSession::Connected() const {
    LONG state = 0;
    return connection_ && SUCCEEDED(connection_->get_State(&state)) && (state & ado::kStateOpen);
}

void AdoSession::Disconnect() {
    CloseQuery();
    if (Connected()) Check(connection_->Close(), L"Cannot close the connection");
}

void AdoSession::SetConnectionString(const std::wstring& connectionString) {
    if (connectionString == connectionString_) return;
    Disconnect();
    connectionString_ = connectionString;
}

void AdoSession::Connect() {
    if (Connected()) return;
    ado::Connection& connection = RequireConnectionObject();
    const BStr text(connectionString_);
    Check(connection.put_ConnectionString(text.get()), L"Cannot set the connection string");
    Check(connection.Open(text.get(), nullptr, nullptr, ado::kConnectUnspecified),
          L"Cannot connect to the database");
}

void AdoSession::CloseQuery() {
    query_.Close();
}

void AdoSession::OpenQuery(const std::vector<std::wstring>& sqlLines) {
    CloseQuery();
    if (!Connected()) Fail(kErrObjectClosed, L"The query has no open connection");

    std::wstring commandText;
    for (const std::wstring& line : sqlLines)
        commandText += line + L"\r\n";

    // A command carries the query's own time-out; the connection's is unlimited.
    ComPtr<ado::Command> command =
        Create<ado::Command>(ado::kClsidCommand, ado::kIidCommand, L"Cannot create the command");
    Check(command->putref_ActiveConnection(connection_.get()), L"Cannot bind the command");
    Check(command->put_CommandText(BStr(commandText).get()), L"Cannot set the command text");
    Check(command->put_CommandType(ado::kCmdText), L"Cannot set the command type");
    // Where the time-out is not implemented the provider's default applies.
    const HRESULT timeout = command->put_CommandTimeout(kQueryCommandTimeout);
    if (timeout != E_NOTIMPL) Check(timeout, L"Cannot set the command time-out");

    ComPtr<ado::Recordset> recordset = Create<ado::Recordset>(
        ado::kClsidRecordset, ado::kIidRecordset, L"Cannot create the recordset");
    Check(recordset->put_CursorLocation(ado::kUseClient), L"Cannot set the cursor location");

    Variant source;
    V_VT(&source.get()) = VT_DISPATCH;
    V_DISPATCH(&source.get()) = command.get();
    command->AddRef();    // the variant holds its own reference
    Variant noConnection; // the command brings its connection
    V_VT(&noConnection.get()) = VT_ERROR;
    V_ERROR(&noConnection.get()) = DISP_E_PARAMNOTFOUND;
    Check(recordset->Open(source.get(), noConnection.get(), ado::kOpenStatic, ado::kLockReadOnly,
                          ado::kCmdUnspecified),
          L"The query failed");
    query_ = AdoRecordset(std::move(recordset));
}

int AdoSession::RecordCount() {
    return query_.RecordCount();
}

std::wstring AdoSession::FieldText(const std::wstring& fieldName) {
    return query_.FieldText(fieldName);
}

} // namespace platform
