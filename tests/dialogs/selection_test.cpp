// Controller selection and information dialogs.
#include "dialog_test_env.h"

#include "resource.h"

#include <algorithm>
#include <vector>

using testing_support::DialogAnswerer;

namespace {

std::vector<TavroSimControllerInfo> Configured()
{
    std::vector<TavroSimControllerInfo> all;
    for (int i = 0; i < TavroSim_ControllerCount(); ++i) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == TAVRO_OK)
            all.push_back(info);
    }
    return all;
}

// Selects the list row of a controller id, as a click would.
void SelectRow(HWND dialog, short id, bool doubleClick)
{
    HWND list = GetDlgItem(dialog, IDC_SELECT_LIST);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<short>(SendMessageA(list, LB_GETITEMDATA, i, 0)) == id) {
            SendMessageA(list, LB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SELECT_LIST, doubleClick ? LBN_DBLCLK : LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        }
    }
}

HWND MakeOwner()
{
    return CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

class Selection : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
        all_ = Configured();
        ASSERT_GE(all_.size(), 2u) << "the selection tests need two configured controllers";
    }
    std::vector<TavroSimControllerInfo> all_;
};

} // namespace

TEST_F(Selection, ListsEveryControllerAndReturnsTheChosenIdWithOrWithoutOwner)
{
    HWND owner = MakeOwner();
    short wanted = all_.back().id;
    std::vector<std::string> rows;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_SELECT_LIST);
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char row[256] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
            rows.push_back(row);
        }
        SelectRow(dialog, wanted, false);
    });
    answerer.Expect(IDOK, [&](HWND dialog) { SelectRow(dialog, all_.front().id, false); });
    EXPECT_EQ(TavroDLG_SelectController(owner, -1, 0, 0), wanted);
    EXPECT_EQ(TavroDLG_SelectController(nullptr, -1, 0, 0), all_.front().id);

    ASSERT_EQ(rows.size(), all_.size());
    for (size_t i = 0; i < all_.size(); ++i) {
        char id[16];
        snprintf(id, sizeof id, "%d\t", all_[i].id);
        EXPECT_EQ(rows[i].rfind(id, 0), 0u) << rows[i];
        EXPECT_NE(rows[i].find(all_[i].description), std::string::npos) << rows[i];
    }
    DestroyWindow(owner);
}

TEST_F(Selection, PreselectsTheCurrentControllerElseTheFirst)
{
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    EXPECT_EQ(TavroDLG_SelectController(nullptr, all_.back().id, 0, 0), all_.back().id);
    EXPECT_EQ(TavroDLG_SelectController(nullptr, -1, 0, 0), all_.front().id);
    EXPECT_EQ(TavroDLG_SelectController(nullptr, 32000, 0, 0), all_.front().id);
}

TEST_F(Selection, DoubleClickChoosesAndCancelGivesMinusOne)
{
    HWND owner = MakeOwner();
    short wanted = all_[1].id;
    DialogAnswerer answerer;
    // The double-click ends the dialog before the queued Cancel arrives.
    answerer.Expect(IDCANCEL, [&](HWND dialog) { SelectRow(dialog, wanted, true); });
    answerer.Expect(IDCANCEL, [&](HWND dialog) { SelectRow(dialog, wanted, false); });
    EXPECT_EQ(TavroDLG_SelectController(owner, -1, 0, 0), wanted);
    EXPECT_EQ(TavroDLG_SelectController(owner, wanted, 0, 0), -1);
    EXPECT_EQ(TavroDLG_SelectController(nullptr, wanted, 0, 0), -1); // unanswered boxes are cancelled
    EXPECT_EQ(answerer.Count(), 3u);
    DestroyWindow(owner);
}

TEST_F(Selection, InformationShowsTheOpenControllerOrThatNoneIsOpen)
{
    TavroSimControllerInfo info = {};
    ASSERT_TRUE(FindController([](const TavroSimControllerInfo& c) { return c.axisCount > 0; }, &info));
    short handle = TavroOpen(info.id, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(handle, 0);
    std::string modules;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_INFO_MODULES);
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char row[256] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
            modules += row;
            modules += '\n';
        }
    });
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    TavroDLG_ControllerInfo(nullptr, handle, 0, "Currently Selected Controller's Information");
    TavroDLG_ControllerInfo(nullptr, handle, 0, nullptr);
    TavroClose(handle);
    EXPECT_LT(TavroDLG_ControllerInfo(nullptr, handle, 0, nullptr), 0);

    ASSERT_EQ(answerer.Count(), 3u);
    const auto& seen = answerer.Seen();
    EXPECT_EQ(seen[0].caption, "Currently Selected Controller's Information");
    EXPECT_NE(seen[0].text.find(info.description), std::string::npos) << seen[0].text;
    char axes[16];
    snprintf(axes, sizeof axes, "%d", info.axisCount);
    EXPECT_NE(std::find(seen[0].statics.begin(), seen[0].statics.end(), axes), seen[0].statics.end());
    EXPECT_NE(modules.find("Axis 1\t"), std::string::npos) << modules;
    EXPECT_EQ(seen[1].caption, "Controller Information");
    EXPECT_NE(seen[2].text.find("No controller is open."), std::string::npos) << seen[2].text;
    EXPECT_EQ(seen[2].text.find(info.description), std::string::npos);
}
