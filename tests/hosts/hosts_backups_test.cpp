#include "hosts/hosts_backups.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "hosts_fixture.h"
#include "platform/base/iso8601.h"
#include "platform/ui/pop_up_button.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;

// Sets TZ for one scope.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) previous_ = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (previous_) setenv("TZ", previous_->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

void setModificationTime(const fs::path& file, std::time_t seconds) {
    const utimbuf times{seconds, seconds};
    ASSERT_EQ(::utime(file.c_str(), &times), 0) << file;
}

// The folder's names in the order the system lists them.
std::vector<std::string> listingOrder(const fs::path& folder) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(directory)) names.emplace_back(entry->d_name);
    ::closedir(directory);
    return names;
}

class HostsBackupsTest : public HostsTest {
protected:
    void makeBackup(const std::string& name, const std::string& text, std::time_t modified) {
        write(backupFolder() / name, text);
        setModificationTime(backupFolder() / name, modified);
    }
    // Answers the restore dialog by choosing the backup at `index`.
    void chooseBackup(std::size_t index, platform::ModalResponse button = 1000) {
        alerts.answerWith([index, button](platform::Alert& alert) {
            auto chooser = std::dynamic_pointer_cast<platform::PopUpButton>(alert.accessoryView);
            if (!chooser) {
                ADD_FAILURE() << "the restore dialog has no list of backups";
                return button;
            }
            chooser->selectItem(std::optional<std::size_t>(index));
            return button;
        });
    }
};

TEST_F(HostsBackupsTest, NamesUseTheLocalZoneAndMilliseconds) {
    struct Case {
        const char* zone;
        const char* date;
        const char* name;
    } cases[] = {
        {"UTC", "2026-12-10T08:30:00.123Z", "hosts-20261210-083000-123.backup"},
        {"Asia/Shanghai", "2026-12-31T16:05:09.999Z", "hosts-20270101-000509-999.backup"},
        {"America/New_York", "2026-07-04T03:00:00.000Z", "hosts-20260703-230000-000.backup"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        TimeZone zone(c.zone);
        const auto date = platform::Iso8601::parse(c.date, {.fractionalSeconds = true}).value();
        EXPECT_EQ(HostsBackups::fileName(date), c.name);
    }
}

TEST_F(HostsBackupsTest, ListsBackupsNewestFirstAndSkipsOtherFiles) {
    const std::time_t base = 1'700'000'000;
    makeBackup("hosts-old.backup", "", base);
    makeBackup("hosts-new.backup", "", base + 300);
    makeBackup("hosts-hosts-twice.backup", "", base + 100);
    // Enough ties that an unstable sort would show.
    for (int i = 0; i < 40; ++i) makeBackup("tied-" + std::to_string(i) + ".backup", "", base + 200);
    makeBackup("notes.txt", "", base + 900);
    makeBackup("hosts.backup.txt", "", base + 900);
    makeBackup(".hidden.backup", "", base + 900);
    fs::create_directories(backupFolder() / "folder.backup");

    auto listed = controller().backupFiles();
    ASSERT_TRUE(listed.ok());
    std::vector<std::string> names;
    for (const auto& file : *listed) names.push_back(file.filename().string());

    std::vector<std::string> tied;
    for (const auto& name : listingOrder(backupFolder())) {
        if (name.starts_with("tied-")) tied.push_back(name);
    }
    std::vector<std::string> expected{"hosts-new.backup"};
    expected.insert(expected.end(), tied.begin(), tied.end());
    expected.insert(expected.end(), {"hosts-hosts-twice.backup", "hosts-old.backup"});
    EXPECT_EQ(names, expected) << "equal dates keep the folder's listing order";
    EXPECT_EQ(HostsBackups::listTitle(listed->at(41)), "twice");
}

TEST_F(HostsBackupsTest, FirstRestoreCreatesTheFolderAndSaysThereIsNothing) {
    controller().showRestoreBackups();
    EXPECT_TRUE(fs::is_directory(backupFolder()));
    EXPECT_EQ(alerts.last().messageText, "暂无 Hosts 备份");
    EXPECT_EQ(alerts.last().informativeText, "每次应用方案前都会自动生成备份。");
}

TEST_F(HostsBackupsTest, RestoreAppliesTheChosenBackupAfterBackingUpOnceMore) {
    auto& editor = controller();
    const auto ids = loadProfiles({{"办公", "10.0.0.1 office\n"}});
    editor.library.activeProfileID = ids[0];
    setSystemHosts("127.0.0.1 current\n");
    const std::time_t base = 1'700'000'000;
    makeBackup("hosts-20270115-090000-000.backup", "127.0.0.1 newest\n", base + 60);
    makeBackup("hosts-20270115-080000-000.backup", "127.0.0.1 older\n", base);

    chooseBackup(1);
    alerts.answer(1000);  // the password prompt
    editor.showRestoreBackups();
    runUntilIdle();

    const auto& dialog = alerts.shown().at(0);
    EXPECT_EQ(dialog.messageText, "还原 Hosts 备份");
    EXPECT_EQ(dialog.informativeText, "还原前仍会强制备份当前系统 Hosts。");
    EXPECT_EQ(dialog.buttons, (std::vector<std::string>{"还原", "取消"}));
    EXPECT_EQ(systemHosts(), "127.0.0.1 older\n");
    EXPECT_EQ(status(), "Hosts 备份已还原");
    EXPECT_FALSE(editor.library.activeProfileID) << "a restore clears the active profile";
    ASSERT_EQ(backupCount(), 3u) << "one more backup, of the file it replaced";
    EXPECT_EQ(read(controller().backupFiles()->front()), "127.0.0.1 current\n");
}

TEST_F(HostsBackupsTest, RestoreStopsOnCancelOrAnUnreadableBackup) {
    setSystemHosts("127.0.0.1 current\n");
    makeBackup("hosts-bad.backup", "127.0.0.1 \xff\n", 1'700'000'000);

    chooseBackup(0, 1001);
    controller().showRestoreBackups();
    EXPECT_EQ(alerts.count(), 1u) << "cancelled: nothing else is asked";

    chooseBackup(0);
    controller().showRestoreBackups();
    EXPECT_EQ(alerts.last().messageText, "无法还原备份");
    EXPECT_EQ(passwordPrompts(), 0u);
    EXPECT_EQ(systemHosts(), "127.0.0.1 current\n");
    EXPECT_EQ(backupCount(), 1u);
}

}  // namespace
}  // namespace tallowmere::testing
