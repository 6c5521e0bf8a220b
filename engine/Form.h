#pragma once
// The tweak controls of the main window, read and written at the moment a step
// needs them. The window implements this by reading its own controls; tests use
// an in-memory form. Strings are UTF-8.
#include <string>

namespace quillon {

constexpr int kCheckBoxCount = 77;   // chk 0..76
constexpr int kOptionCount = 5;      // Opt 0..4
constexpr int kDriveCount = 26;      // A: .. Z:
constexpr int kServiceCount = 19;
constexpr int kProgressFull = 10905; // Shape2 width in twips when complete
constexpr int kProgressInitial = 150;

// Check-box values: 0 clear, 1 ticked, 2 greyed (counts as not ticked).
constexpr int kUnticked = 0;
constexpr int kTicked = 1;
constexpr int kGreyed = 2;

enum class Page { System, Security, Services, Startup, Speed };
enum class CheckList { Hide, Not, Service, Startup };  // lstHide, lstNot, lstService, lstStartup
enum class Combo { Prefetch, Priority };                // Combo2, Combo3
enum class Label { Wait, Caption, Info };               // lblWait, lblCaption, lblInfo
enum class Button { Redo, Suggest, Optimize, Exit, Auto, System, Security, Startup, Service, Wight };
constexpr int kButtonCount = 10;

class Form {
public:
    virtual ~Form() = default;

    virtual int chk(int index) const = 0;
    virtual void setChk(int index, int value) = 0;

    virtual bool opt(int index) const = 0;
    virtual void selectOpt(int index) = 0;  // deselects the others

    virtual int comboIndex(Combo combo) const = 0;  // -1 when nothing is chosen
    virtual void setComboIndex(Combo combo, int index) = 0;
    virtual int comboCount(Combo combo) const = 0;

    virtual std::string txtPath() const = 0;
    virtual void setTxtPath(const std::string& text) = 0;

    virtual int listCount(CheckList list) const = 0;
    virtual std::string listText(CheckList list, int index) const = 0;
    virtual bool listSelected(CheckList list, int index) const = 0;
    virtual void setListSelected(CheckList list, int index, bool selected) = 0;
    virtual void clearList(CheckList list) = 0;
    virtual void addListItem(CheckList list, const std::string& text) = 0;
    // An entry that stands for nothing on this machine (a service it lacks)
    // shows greyed; a form that cannot show that ignores it.
    virtual bool listGreyed(CheckList, int) const { return false; }
    virtual void setListGreyed(CheckList, int, bool) {}

    virtual bool pageVisible(Page page) const = 0;
    virtual void setPageVisible(Page page, bool visible) = 0;

    virtual bool progressVisible() const = 0;
    virtual void setProgressVisible(bool visible) = 0;
    virtual int progressWidth() const = 0;
    virtual void setProgressWidth(int twips) = 0;

    virtual std::string label(Label which) const = 0;
    virtual void setLabel(Label which, const std::string& text) = 0;

    virtual std::string mainCaption() const = 0;  // XPCMain's header caption
    virtual void setMainCaption(const std::string& text) = 0;

    virtual bool buttonEnabled(Button button) const = 0;
    virtual void setButtonEnabled(Button button, bool enabled) = 0;

    bool ticked(int index) const { return chk(index) == kTicked; }
    bool unticked(int index) const { return chk(index) == kUnticked; }
};

}  // namespace quillon
