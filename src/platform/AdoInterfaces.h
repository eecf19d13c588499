// The ADO interfaces this program calls, declared from their documented
// vtable layout. Late binding through IDispatch is not used: it needs the
// type library, which not every system registers. Slots the program never
// calls are declared without parameters; only their position matters.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oaidl.h>

namespace platform::ado {

// Class and interface identifiers. The interface identifiers are those that
// every ADO since 2.x answers to (later ADO versions added new ones with the
// same layout, which older systems and Wine do not know).
inline constexpr CLSID kClsidConnection = {
    0x00000514, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
inline constexpr CLSID kClsidCommand = {
    0x00000507, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
inline constexpr CLSID kClsidRecordset = {
    0x00000535, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
inline constexpr IID kIidConnection = {
    0x00000550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
inline constexpr IID kIidCommand = {
    0xB08400BD, 0xF9D1, 0x4D02, {0xB8, 0x56, 0x71, 0xD5, 0xDB, 0xA1, 0x23, 0xE9}};
inline constexpr IID kIidRecordset = {
    0x00000556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

// Enumeration values, as their type library defines them.
inline constexpr LONG kStateOpen = 1;           // adStateOpen
inline constexpr LONG kConnectUnspecified = -1; // adConnectUnspecified
inline constexpr LONG kCmdText = 1;             // adCmdText
inline constexpr LONG kCmdUnspecified = -1;     // adCmdUnspecified
inline constexpr LONG kUseClient = 3;           // adUseClient
inline constexpr LONG kOpenStatic = 3;          // adOpenStatic
inline constexpr LONG kLockReadOnly = 1;        // adLockReadOnly
inline constexpr LONG kLockOptimistic = 3;      // adLockOptimistic
inline constexpr LONG kTypeInteger = 3;         // adInteger
inline constexpr LONG kTypeVarWChar = 202;      // adVarWChar
inline constexpr LONG kFieldIsNullable = 0x20;  // adFldIsNullable

// _ADO: IDispatch plus the Properties collection.
struct AdoBase : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Properties() = 0;
};

// _Connection (Connection15 and the one method _Connection adds).
struct Connection : public AdoBase {
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ConnectionString(BSTR text) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandTimeout(LONG* seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CommandTimeout(LONG seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout(LONG* seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(LONG seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Version() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute() = 0;
    virtual HRESULT STDMETHODCALLTYPE BeginTrans() = 0;
    virtual HRESULT STDMETHODCALLTYPE CommitTrans() = 0;
    virtual HRESULT STDMETHODCALLTYPE RollbackTrans() = 0;
    virtual HRESULT STDMETHODCALLTYPE Open(BSTR connectionString, BSTR userId, BSTR password,
                                           LONG options) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Errors() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefaultDatabase() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DefaultDatabase() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsolationLevel() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IsolationLevel() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Attributes() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CursorLocation() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CursorLocation() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Mode() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Mode() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Provider(BSTR* provider) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Provider(BSTR provider) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenSchema() = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
};

// _Command (Command15 and Command25; the later additions are not called).
struct Command : public AdoBase {
    virtual HRESULT STDMETHODCALLTYPE get_ActiveConnection() = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_ActiveConnection(Connection* connection) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ActiveConnection() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandText(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CommandText(BSTR text) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandTimeout(LONG* seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CommandTimeout(LONG seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Prepared() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Prepared() = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateParameter() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Parameters() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CommandType(LONG type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandType(LONG* type) = 0;
};

// Field (Field20 layout).
struct Field : public AdoBase {
    virtual HRESULT STDMETHODCALLTYPE get_ActualSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Attributes() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DefinedSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT value) = 0;
};

// Fields (_Collection, Fields15, Fields20, Fields).
struct Fields : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewEnum() = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, Field** field) = 0;
    virtual HRESULT STDMETHODCALLTYPE AppendWithoutValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE Append(BSTR name, LONG type, LONG_PTR definedSize,
                                             LONG attributes, VARIANT value) = 0;
};

// _Recordset, up to CursorLocation (Recordset15 and Recordset20).
struct Recordset : public AdoBase {
    virtual HRESULT STDMETHODCALLTYPE get_AbsolutePosition() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AbsolutePosition() = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_ActiveConnection() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ActiveConnection() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActiveConnection() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL* bof) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Bookmark() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Bookmark() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CacheSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CacheSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CursorType() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CursorType(LONG type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL* eof) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Fields(Fields** fields) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LockType() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LockType(LONG type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MaxRecords() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_MaxRecords() = 0;
    // The count is a LONG_PTR in 64-bit builds of ADO and a LONG in older
    // ones; callers pass a zeroed 64-bit slot and read its low half.
    virtual HRESULT STDMETHODCALLTYPE get_RecordCount(LONGLONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_Source() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Source() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Source() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddNew(VARIANT fieldList, VARIANT values) = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelUpdate() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRows() = 0;
    virtual HRESULT STDMETHODCALLTYPE Move() = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveNext() = 0;
    virtual HRESULT STDMETHODCALLTYPE MovePrevious() = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveFirst() = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveLast() = 0;
    virtual HRESULT STDMETHODCALLTYPE Open(VARIANT source, VARIANT activeConnection,
                                           LONG cursorType, LONG lockType, LONG options) = 0;
    virtual HRESULT STDMETHODCALLTYPE Requery() = 0;
    virtual HRESULT STDMETHODCALLTYPE Resync15() = 0;
    virtual HRESULT STDMETHODCALLTYPE Update(VARIANT fields, VARIANT values) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AbsolutePage() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_AbsolutePage() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EditMode() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Filter() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Filter() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageCount() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PageSize() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Sort() = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Sort() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_State(LONG* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone15() = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateBatch() = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelBatch() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CursorLocation(LONG* location) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CursorLocation(LONG location) = 0;
};

} // namespace platform::ado
