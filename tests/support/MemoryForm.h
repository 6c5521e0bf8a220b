#pragma once
// An in-memory form in the main window's start-up state: System page on view,
// Opt 0 chosen, both combo boxes on their first entry, the fixed lists filled.
#include <array>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "engine/Form.h"

namespace quillon::test {

class MemoryForm : public Form {
public:
    MemoryForm();

    int chk(int index) const override { return boxes_.at(index); }
    void setChk(int index, int value) override { boxes_.at(index) = value; }
    bool opt(int index) const override { return option_ == index; }
    void selectOpt(int index) override { option_ = index; }
    void clearOpt() { option_ = -1; }  // a state only tests can reach

    int comboIndex(Combo combo) const override { return combos_.at(Slot(combo)); }
    void setComboIndex(Combo combo, int index) override { combos_.at(Slot(combo)) = index; }
    int comboCount(Combo) const override { return 2; }

    std::string txtPath() const override { return path_; }
    void setTxtPath(const std::string& text) override { path_ = text; }

    int listCount(CheckList list) const override;
    std::string listText(CheckList list, int index) const override;
    bool listSelected(CheckList list, int index) const override;
    void setListSelected(CheckList list, int index, bool selected) override;
    bool listGreyed(CheckList list, int index) const override { return greyed_.count({list, index}) > 0; }
    void setListGreyed(CheckList list, int index, bool greyed) override {
        if (greyed) greyed_.insert({list, index});
        else greyed_.erase({list, index});
    }
    void clearList(CheckList list) override;
    void addListItem(CheckList list, const std::string& text) override;
    std::vector<std::string> listTexts(CheckList list) const;

    bool pageVisible(Page page) const override { return pages_.at(Slot(page)); }
    void setPageVisible(Page page, bool visible) override { pages_.at(Slot(page)) = visible; }
    void showOnly(Page page);

    bool progressVisible() const override { return progressVisible_; }
    void setProgressVisible(bool visible) override;
    int progressWidth() const override { return progressWidth_; }
    void setProgressWidth(int twips) override;
    // Every width the bar was given, in order.
    const std::vector<int>& progressHistory() const { return progressHistory_; }

    std::string label(Label which) const override { return labels_.at(Slot(which)); }
    void setLabel(Label which, const std::string& text) override;
    std::string mainCaption() const override { return caption_; }
    void setMainCaption(const std::string& text) override { caption_ = text; }

    bool buttonEnabled(Button button) const override { return buttons_.at(Slot(button)); }
    void setButtonEnabled(Button button, bool enabled) override;

    // Every change of the form, as "name=value", for checking orders.
    const std::vector<std::string>& events() const { return events_; }

private:
    template <class E> static std::size_t Slot(E e) { return static_cast<std::size_t>(e); }
    struct Item {
        std::string text;
        bool selected = false;
    };
    std::vector<Item>& items(CheckList list) { return lists_.at(Slot(list)); }
    const std::vector<Item>& items(CheckList list) const { return lists_.at(Slot(list)); }

    std::array<int, kCheckBoxCount> boxes_{};
    int option_ = 0;
    std::array<int, 2> combos_{0, 0};
    std::string path_;
    std::array<std::vector<Item>, 4> lists_;
    std::set<std::pair<CheckList, int>> greyed_;
    std::array<bool, 5> pages_{true, false, false, false, false};
    bool progressVisible_ = false;
    int progressWidth_ = kProgressInitial;
    std::vector<int> progressHistory_;
    std::array<std::string, 3> labels_{"", "[System]", ""};
    std::string caption_ = "  Quillon(System)";
    std::array<bool, kButtonCount> buttons_;
    std::vector<std::string> events_;
};

}  // namespace quillon::test
