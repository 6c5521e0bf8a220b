// Where undo records live, which folders are records, pruning and the choice
// of record, on the simulated Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "platform/ForwardingPlatform.h"
#include "record/RecordStore.h"
#include "record/UndoneMarks.h"
#include "tests/sim/SimWindows.h"

namespace quillon {
namespace {

struct RecordStore : ::testing::Test {
    sim::SimWindows machine;
    const std::string root = "C:\\Documents and Settings\\All Users\\Application Data\\Quillon\\undo";

    std::string make(LocalTime time, bool restore = false) {
        machine.setLocalTime(time);
        return CreateRecordFolder(machine, root, restore);
    }
    std::vector<std::string> folders() {
        std::vector<std::string> out;
        for (const StoredRecord& r : ListRecords(machine, root)) out.push_back(r.folder);
        return out;
    }
};

TEST_F(RecordStore, ANewRecordIsItsHeaderFirstAndSameSecondRecordsSortBySequence) {
    EXPECT_EQ(DefaultUndoRoot(machine), root);
    std::vector<std::string> made;
    for (int i = 0; i < 19; ++i) made.push_back(make({2026, 5, 6, 7, 8, 9}));
    EXPECT_EQ(made[1], root + "\\2026-05-06 07-08-09 SIMULATED (2)");
    EXPECT_EQ(made[18], root + "\\2026-05-06 07-08-09 SIMULATED (19)");
    EXPECT_EQ(machine.files().children(made[0]), std::vector<std::string>{"record.txt"});
    EXPECT_EQ(*machine.files().content(made[0] + "\\record.txt"),
              "Quillon undo record\r\ncomputer\tSIMULATED\r\nuser\tTester\r\ntime\t2026-05-06 07:08:09\r\n"
              "sequence\t1\r\nkind\trun\r\n");
    // By name "(19)" would come before "(2)"; by sequence it is the newest.
    std::reverse(made.begin(), made.end());
    EXPECT_EQ(folders(), made);
    EXPECT_EQ(ReadRecordHeader(machine, made.front())->sequence, 19);
    EXPECT_TRUE(ReadRecordHeader(machine, make({2020, 1, 1, 0, 0, 0}, true))->restore);
    EXPECT_EQ(ListRecords(machine, root).back().header.sequence, 20);  // oldest by time, highest sequence
}

TEST_F(RecordStore, OnlyAWholeWellFormedHeaderMakesARecord) {
    const std::string good = "Quillon undo record\r\ncomputer\tPC\r\nuser\tann\r\ntime\t2026-01-02 03:04:05\r\n"
                             "sequence\t7\r\nkind\trun\r\n";
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<std::string> bad = {
        good.substr(0, good.size() - 2),  // cut off by a crash
        with("Quillon", "quillon"),
        with("kind\trun", "kind\tscript"),
        with("time\t2026-01-02 03:04:05", "time\t2026-13-02 03:04:05"),
        with("sequence\t7", "sequence\t-7"),
        with("sequence\t7", "sequence\t1234567890123456789"),
        with("computer\tPC", "computer\t"),
        with("user\tann", "user\tann\tx"),
        with("computer\tPC\r\nuser\tann", "user\tann\r\ncomputer\tPC"),
        good + "extra\tline\r\n",
    };
    const std::string ok = root + "\\2026-01-02 03-04-05 PC";
    machine.files().addFile(ok + "\\record.txt", good);
    const auto header = ReadRecordHeader(machine, ok);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->computer, "PC");
    EXPECT_EQ(header->user, "ann");
    EXPECT_EQ(header->sequence, 7);
    for (std::size_t i = 0; i < bad.size(); ++i) {
        machine.files().addFile(root + "\\2026-01-02 03-04-06\\record.txt", bad[i]);
        EXPECT_FALSE(ReadRecordHeader(machine, root + "\\2026-01-02 03-04-06")) << i;
    }
    // The whole header in a folder not named as records are, or reached through a link, is no record.
    for (const std::string name : {"ok", "2026-01-02 03-04-05 P C", "2026-01-02 03-04-05 (x)", "2026-01-02 3-04-05"}) {
        machine.files().addFile(root + "\\" + name + "\\record.txt", good);
        EXPECT_FALSE(ReadRecordHeader(machine, root + "\\" + name)) << name;
    }
    machine.files().addLink(root + "\\2026-01-02 03-04-07", ok);
    EXPECT_FALSE(ReadRecordHeader(machine, root + "\\2026-01-02 03-04-07"));
}

// Random stores: old and future records, same-second runs, folders of the
// user's own, headerless and broken ones, links inside records leading out.
TEST_F(RecordStore, PruningRemovesOnlyTheOldestRecordsNeverTheNewOneNorAnythingElse) {
    std::mt19937 random(20);
    for (int trial = 0; trial < 40; ++trial) {
        sim::SimWindows fresh;
        std::swap(machine.files(), fresh.files());
        machine.files().addDirectory("C:\\Outside");
        std::map<std::string, std::string> others;  // every file that is not part of a record, with its content
        const auto other = [&](const std::string& path, const std::string& content) {
            machine.files().addFile(path, content);
            others[path] = content;
        };
        const int count = std::uniform_int_distribution<>(0, 30)(random);
        for (int i = 0; i < count; ++i) {
            const int year = random() % 3 == 0 ? 2099 : 2026;
            const std::string folder = make({year, 1, 1, 0, 0, static_cast<int>(random() % 3)});
            if (random() % 4 == 0) {
                other("C:\\Outside\\" + std::to_string(i) + "\\kept.txt", "theirs");
                machine.files().addLink(folder + "\\files", "C:\\Outside\\" + std::to_string(i));
            } else {
                machine.files().addFile(folder + "\\files\\" + std::to_string(i) + " copy", "copy");
            }
        }
        other(root + "\\00 my backups\\b.txt", "mine");
        other(root + "\\2026-01-01 00-00-00 (99)\\notes.txt", "no header");
        other(root + "\\2026-01-01 00-00-01 (98)\\record.txt", "Quillon undo record\r\n");
        const std::vector<StoredRecord> before = ListRecords(machine, root);
        const std::string fresh_record = make({2026, 1, 1, 0, 0, 1});
        const int keep = std::uniform_int_distribution<>(1, 25)(random);

        PruneRecords(machine, root, keep, {fresh_record});

        for (const auto& [path, content] : others) EXPECT_EQ(machine.files().content(path), content) << path;
        std::vector<std::string> expected{fresh_record};
        for (std::size_t i = 0; i < before.size() && expected.size() < static_cast<std::size_t>(keep); ++i)
            expected.push_back(before[i].folder);
        std::vector<std::string> left = folders();
        std::sort(left.begin(), left.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(left, expected) << "trial " << trial << ", keep " << keep;
        for (const StoredRecord& gone : before) {
            if (std::find(left.begin(), left.end(), gone.folder) == left.end()) {
                EXPECT_FALSE(machine.files().directoryExists(gone.folder)) << gone.folder;
            }
        }
    }
}

TEST_F(RecordStore, UndoTakesTheNewestOpenRunOfThisComputerAndUser) {
    const std::string mine = make({2026, 3, 1, 10, 0, 0});
    const std::string older = make({2026, 2, 1, 10, 0, 0});
    machine.setLocalTime({2026, 3, 1, 10, 0, 0});  // a record dated after now is never taken
    EXPECT_EQ(RecordToUndo(machine, root), mine);
    make({2026, 3, 1, 11, 0, 0}, true);  // a restore's own record
    machine.setUserName("Other");
    make({2026, 3, 1, 12, 0, 0});
    machine.setUserName("Tester");
    machine.setComputerName("ELSEWHERE");
    make({2026, 3, 1, 13, 0, 0});
    machine.setComputerName("simulated");
    machine.files().addLink(root + "\\2026-04-01 00-00-00", mine);  // a link is no record of its own
    EXPECT_EQ(RecordToUndo(machine, root), mine);

    MarkUndone(machine, mine, root + "\\restore");
    EXPECT_TRUE(RecordUndone(machine, mine));
    EXPECT_EQ(machine.files().content(mine + "\\undone.txt")->rfind("undone\t2026-03-01 13:00:00\t", 0), 0u);
    EXPECT_EQ(RecordToUndo(machine, root), older);
    MarkUndone(machine, older, "");
    EXPECT_FALSE(RecordToUndo(machine, root));
    EXPECT_FALSE(RecordToUndo(machine, "C:\\nowhere"));
    EXPECT_EQ(ListRecords(machine, root).size(), 5u);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST_F(RecordStore, AFolderSharedByComputersKeepsEachOnesOwnTwentyUnderNamesThatNeverCollide) {
    std::map<std::string, std::vector<std::string>> made;
    // Both computers make their records in the same second, turn about.
    for (int run = 0; run < 22; ++run)
        for (const char* computer : {"PC-ONE", "PC\\TWO?"}) {
            machine.setComputerName(computer);
            const std::string folder = make({2026, 5, 6, 7, 8, 9});
            PruneRecords(machine, root, kRecordsKept, {folder});
            made[computer].push_back(folder);
        }
    const auto kept = ListRecords(machine, root);
    for (const auto& [computer, folders] : made) {
        SCOPED_TRACE(computer);
        std::vector<std::string> own;
        for (const StoredRecord& r : kept)
            if (r.header.computer == computer) own.push_back(r.folder);
        // The newest 20, each with its own sequence, newest first.
        EXPECT_EQ(own, std::vector<std::string>(folders.rbegin(), folders.rbegin() + kRecordsKept));
        EXPECT_EQ(ReadRecordHeader(machine, own.front())->sequence, 22);
        machine.setComputerName(computer);
        EXPECT_EQ(RecordToUndo(machine, root), folders.back());
    }
    EXPECT_EQ(kept.size(), 2u * kRecordsKept);
    EXPECT_NE(made["PC\\TWO?"].front().find("07-08-09 PC_TWO_"), std::string::npos) << made["PC\\TWO?"].front();
}

// Two computers whose names make one folder name start a run in the same
// second: the other makes the folder between this one's look and its claim.
class OtherComputerFirst : public ForwardingPlatform {
public:
    OtherComputerFirst(sim::SimWindows& machine, std::string root) : ForwardingPlatform(machine), root_(std::move(root)) {}
    std::string computerName() override { return "PC.ONE"; }
    void createDirectory(const std::string& path) override {
        if (other.empty() && path.find("PC_ONE") != std::string::npos) other = CreateRecordFolder(machine_, root_, false);
        machine_.createDirectory(path);
    }
    std::string other;

private:
    std::string root_;
};

TEST_F(RecordStore, TwoComputersStartingInOneSecondIntoOneFolderEachGetTheirOwnRecord) {
    machine.setComputerName("PC_ONE");
    machine.setLocalTime({2026, 5, 6, 7, 8, 9});
    make({2026, 5, 6, 7, 8, 9});  // the folder is there already
    OtherComputerFirst racing(machine, root);
    const std::string mine = CreateRecordFolder(racing, root, false);
    ASSERT_FALSE(racing.other.empty());
    EXPECT_NE(mine, racing.other);
    EXPECT_EQ(ReadRecordHeader(machine, mine)->computer, "PC.ONE");
    EXPECT_EQ(ReadRecordHeader(machine, racing.other)->computer, "PC_ONE");
    EXPECT_EQ(ReadRecordHeader(machine, mine)->sequence, 1);
    EXPECT_EQ(ReadRecordHeader(machine, racing.other)->sequence, 2);
    EXPECT_EQ(RecordToUndo(racing, root), mine);
    EXPECT_EQ(folders().size(), 3u);
}

}  // namespace
}  // namespace quillon
