#include "ui/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Tracked : ui::TComponent {
    Tracked(ui::TComponent* owner, std::wstring name, std::vector<std::wstring>& log)
        : ui::TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Tracked() override { log_.push_back(Name()); }
    std::vector<std::wstring>& log_;
};

TEST(Component, OwnerFreesOwnedInReverseOrderOfCreation) {
    std::vector<std::wstring> log;
    {
        ui::TComponent owner(nullptr);
        new Tracked(&owner, L"a", log);
        auto* b = new Tracked(&owner, L"b", log);
        new Tracked(b, L"b1", log);
        new Tracked(&owner, L"c", log);
        EXPECT_EQ(owner.ComponentCount(), 3);
    }
    // A component's own destructor body runs before it frees what it owns.
    EXPECT_EQ(log, (std::vector<std::wstring>{L"c", L"b", L"b1", L"a"}));
}

TEST(Component, FreeingAnOwnedComponentUnlinksItFromItsOwner) {
    std::vector<std::wstring> log;
    ui::TComponent owner(nullptr);
    auto* a = new Tracked(&owner, L"a", log);
    new Tracked(&owner, L"b", log);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0)->Name(), L"b");
    EXPECT_EQ(owner.FindComponent(L"a"), nullptr);
}

TEST(Component, FindComponentIgnoresCaseAndEmptyNames) {
    std::vector<std::wstring> log;
    ui::TComponent owner(nullptr);
    auto* button = new Tracked(&owner, L"Button1", log);
    new Tracked(&owner, L"", log);
    EXPECT_EQ(owner.FindComponent(L"BUTTON1"), button);
    EXPECT_EQ(owner.FindComponent(L""), nullptr);
    EXPECT_EQ(owner.FindComponent(L"Button2"), nullptr);
}

} // namespace
