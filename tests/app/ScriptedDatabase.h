// A database session whose answers and failures the test scripts, per
// instance address, and which records what it was asked.
#pragma once

#include "platform/DatabaseSession.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace app_tests {

struct ServerScript {
    bool connects = true;
    bool versionFails = false;
    bool editionFails = false;
    std::vector<std::map<std::wstring, std::wstring>> versionRows{
        {{L"sjkglxt", L"Microsoft SQL Server 2019"}}};
    std::vector<std::map<std::wstring, std::wstring>> editionRows{
        {{L"bbmc", L"Developer Edition"}, {L"bdmc", L"RTM"}}};
};

class ScriptedDatabase : public platform::IDatabaseSession {
public:
    std::map<std::wstring, ServerScript> servers; // by Data Source value
    std::vector<std::wstring> log;                // what was asked, in order
    std::function<void()> onConnect;              // runs inside Connect

    void Disconnect() override {
        log.push_back(L"disconnect");
        connected_.clear();
        open_ = nullptr;
    }
    void SetConnectionString(const std::wstring& text) override {
        connectionString = text;
        log.push_back(L"string " + text);
    }
    void Connect() override {
        log.push_back(L"connect");
        if (onConnect) onConnect();
        const std::wstring source = DataSource();
        auto it = servers.find(source);
        if (it == servers.end() || !it->second.connects)
            throw platform::DatabaseError(static_cast<long>(0x80004005), L"cannot connect");
        connected_ = source;
    }
    void CloseQuery() override {
        log.push_back(L"close");
        open_ = nullptr;
    }
    void OpenQuery(const std::vector<std::wstring>& lines) override {
        std::wstring text;
        for (const auto& l : lines)
            text += l + L"\r\n";
        log.push_back(L"open " + text);
        if (connected_.empty())
            throw platform::DatabaseError(static_cast<long>(0x80004005), L"not connected");
        ServerScript& s = servers[connected_];
        const bool version = text.find(L"@@version") != std::wstring::npos;
        if (version ? s.versionFails : s.editionFails)
            throw platform::DatabaseError(static_cast<long>(0x80040E14), L"query refused");
        open_ = version ? &s.versionRows : &s.editionRows;
    }
    int RecordCount() override { return open_ ? static_cast<int>(open_->size()) : 0; }
    std::wstring FieldText(const std::wstring& name) override {
        if (!open_ || open_->empty())
            throw platform::DatabaseError(static_cast<long>(0x80004005), L"no record");
        auto it = open_->front().find(name);
        if (it == open_->front().end())
            throw platform::DatabaseError(static_cast<long>(0x80004005), L"no such field");
        return it->second;
    }

    std::wstring connectionString;

private:
    std::wstring DataSource() const {
        const std::wstring key = L"Data Source=";
        const size_t at = connectionString.find(key);
        if (at == std::wstring::npos) return L"";
        std::wstring rest = connectionString.substr(at + key.size());
        if (!rest.empty() && rest.back() == L';') rest.pop_back();
        return rest;
    }
    std::wstring connected_;
    std::vector<std::map<std::wstring, std::wstring>>* open_ = nullptr;
};

} // namespace app_tests
