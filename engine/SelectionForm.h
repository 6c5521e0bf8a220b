#pragma once
// A selection held in memory: the boxes, options, combo boxes, path and lists
// of a form, without any window. Plans run against one so that the steps may
// read and write it freely while the window and its selection stay untouched.
#include <array>
#include <string>
#include <vector>

#include "engine/Form.h"

namespace quillon {

class SelectionForm : public Form {
public:
    // The window's start-up state: nothing ticked, Opt 0, both combo boxes on
    // their first entry, the drive and service lists filled, no startup entry.
    SelectionForm();
    // Everything a step can read from `form`, the startup entries included.
    static SelectionForm CopyOf(const Form& form);
    // Every box, list entry and startup entry ticked (or none), Opt 0 and both
    // combo boxes on their first entry; the path is kept.
    void tickEverything(bool ticked);

    int chk(int index) const override { return boxes_.at(index); }
    void setChk(int index, int value) override { boxes_.at(index) = value; }
    bool opt(int index) const override { return option_ == index; }
    void selectOpt(int index) override { option_ = index; }
    int comboIndex(Combo combo) const override { return combos_.at(static_cast<int>(combo)); }
    void setComboIndex(Combo combo, int index) override { combos_.at(static_cast<int>(combo)) = index; }
    int comboCount(Combo) const override { return 2; }
    std::string txtPath() const override { return path_; }
    void setTxtPath(const std::string& text) override { path_ = text; }

    int listCount(CheckList list) const override { return static_cast<int>(items(list).size()); }
    std::string listText(CheckList list, int index) const override { return items(list).at(index).text; }
    bool listSelected(CheckList list, int index) const override { return items(list).at(index).selected; }
    void setListSelected(CheckList list, int index, bool selected) override { items(list).at(index).selected = selected; }
    void clearList(CheckList list) override { items(list).clear(); }
    void addListItem(CheckList list, const std::string& text) override { items(list).push_back({text, false}); }

    // A plan shows no window: what the steps do to these is kept and ignored.
    bool pageVisible(Page page) const override { return page == page_; }
    void setPageVisible(Page page, bool visible) override;
    bool progressVisible() const override { return false; }
    void setProgressVisible(bool) override {}
    int progressWidth() const override { return kProgressInitial; }
    void setProgressWidth(int) override {}
    std::string label(Label) const override { return {}; }
    void setLabel(Label, const std::string&) override {}
    std::string mainCaption() const override { return {}; }
    void setMainCaption(const std::string&) override {}
    bool buttonEnabled(Button) const override { return true; }
    void setButtonEnabled(Button, bool) override {}

private:
    struct Item {
        std::string text;
        bool selected = false;
    };
    std::vector<Item>& items(CheckList list) { return lists_.at(static_cast<int>(list)); }
    const std::vector<Item>& items(CheckList list) const { return lists_.at(static_cast<int>(list)); }

    std::array<int, kCheckBoxCount> boxes_{};
    int option_ = 0;
    std::array<int, 2> combos_{0, 0};
    std::string path_;
    std::array<std::vector<Item>, 4> lists_;
    Page page_ = Page::System;
};

}  // namespace quillon
