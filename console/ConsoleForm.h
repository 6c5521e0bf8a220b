#pragma once
// The form a console run works on: the selection read from a file, held in
// memory, with the fixed lists filled as the window fills them. The progress
// bar's width is passed on, so the console can draw a bar of its own.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/Form.h"

namespace quillon::console {

class ConsoleForm final : public Form {
public:
    ConsoleForm();

    // Called with every width the run gives Shape2.
    std::function<void(int twips)> onProgress;

    int chk(int index) const override { return boxes_.at(index); }
    void setChk(int index, int value) override { boxes_.at(index) = value; }
    bool opt(int index) const override { return option_ == index; }
    void selectOpt(int index) override { option_ = index; }
    int comboIndex(Combo combo) const override { return combos_.at(Slot(combo)); }
    void setComboIndex(Combo combo, int index) override { combos_.at(Slot(combo)) = index; }
    int comboCount(Combo) const override { return 2; }
    std::string txtPath() const override { return path_; }
    void setTxtPath(const std::string& text) override { path_ = text; }

    int listCount(CheckList list) const override { return static_cast<int>(lists_.at(Slot(list)).size()); }
    std::string listText(CheckList list, int index) const override { return lists_.at(Slot(list)).at(index).text; }
    bool listSelected(CheckList list, int index) const override { return lists_.at(Slot(list)).at(index).selected; }
    void setListSelected(CheckList list, int index, bool selected) override {
        lists_.at(Slot(list)).at(index).selected = selected;
    }
    void clearList(CheckList list) override { lists_.at(Slot(list)).clear(); }
    void addListItem(CheckList list, const std::string& text) override { lists_.at(Slot(list)).push_back({text}); }

    bool pageVisible(Page page) const override { return pages_.at(Slot(page)); }
    void setPageVisible(Page page, bool visible) override { pages_.at(Slot(page)) = visible; }
    void showOnly(Page page);

    bool progressVisible() const override { return progressVisible_; }
    void setProgressVisible(bool visible) override { progressVisible_ = visible; }
    int progressWidth() const override { return progressWidth_; }
    void setProgressWidth(int twips) override;

    std::string label(Label which) const override { return labels_.at(Slot(which)); }
    void setLabel(Label which, const std::string& text) override { labels_.at(Slot(which)) = text; }
    std::string mainCaption() const override { return caption_; }
    void setMainCaption(const std::string& text) override { caption_ = text; }
    bool buttonEnabled(Button button) const override { return buttons_.at(Slot(button)); }
    void setButtonEnabled(Button button, bool enabled) override { buttons_.at(Slot(button)) = enabled; }

private:
    template <class E> static std::size_t Slot(E e) { return static_cast<std::size_t>(e); }
    struct Item {
        std::string text;
        bool selected = false;
    };

    std::array<int, kCheckBoxCount> boxes_{};
    int option_ = 0;
    std::array<int, 2> combos_{0, 0};
    std::string path_;
    std::array<std::vector<Item>, 4> lists_;
    std::array<bool, 5> pages_{true, false, false, false, false};
    bool progressVisible_ = false;
    int progressWidth_ = kProgressInitial;
    std::array<std::string, 3> labels_;
    std::string caption_;
    std::array<bool, kButtonCount> buttons_{};
};

}  // namespace quillon::console
