// Crash safety of the recovery file: a child program types into a large list in the main window and
// writes its recovery snapshots, and is killed with SIGKILL at a random moment. Whatever the moment, the
// recovery file is missing (no snapshot finished yet), the last snapshot the child reported or the one it
// was writing, byte for byte, and it reads back without damage with the typed text in it. POSIX only.
//
// VELLORIA_KILL_TRIALS sets the number of trials (default 10).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "RecoveryKillLine.h"
#include "TestSupport.h"
#include "TreeGenerator.h"
#include "app/Backups.h"
#include "app/ListFile.h"

namespace {

namespace fs = std::filesystem;
constexpr int kLinesPerRound = 7;

int Trials() {
    const char* value = std::getenv("VELLORIA_KILL_TRIALS");
    const int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : 10;
}

struct TChild {
    pid_t Pid = -1;
    int Out = -1;  // the child's stdout
    std::string Read;

    // Reads until `line` has arrived (true) or the child's output ended (false).
    bool WaitFor(const std::string& line) {
        char buffer[4096];
        while (Read.find(line + "\n") == std::string::npos) {
            const ssize_t n = ::read(Out, buffer, sizeof buffer);
            if (n <= 0) return false;
            Read.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }
    // The last round the child reported; everything it wrote is read first (it is dead).
    int LastRound() {
        WaitFor("\x01");  // never comes: reads to the end
        int last = 0;
        std::size_t at = 0;
        for (std::size_t next; (next = Read.find('\n', at)) != std::string::npos; at = next + 1) {
            const std::string line = Read.substr(at, next - at);
            if (line != "ready") last = std::atoi(line.c_str());
        }
        return last;
    }
};

TChild Spawn(const fs::path& list, const fs::path& dataHome) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string lines = std::to_string(kLinesPerRound);
        ::execl(VELLORIA_KILL_CHILD, VELLORIA_KILL_CHILD, list.c_str(), lines.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    return {pid, pipeFds[0], {}};
}

}  // namespace

TEST(RecoveryKill, KilledWhileWritingItsRecoveryFileLeavesNoneThePreviousOrTheNewSnapshot) {
    TTempDir dir;
    const fs::path list = dir / "notes.vlt";
    const fs::path dataHome = dir / "data";
    const fs::path recovery = backups::RecoveryFileName(dataHome / "velloria", list);
    TListFileHost host;

    std::mt19937 rng(20261208);
    TDocumentTree tree;
    GenerateTree(tree, rng, {.Documents = 3000, .TextBytes = 1500});
    TListFile listFile(tree, host);
    ASSERT_TRUE(listFile.WriteListFile(list));
    ASSERT_GT(fs::file_size(list), 4u << 20);
    const std::string original = tree.First()->Record().Text;
    // The snapshot after `rounds` rounds: the list with the typed lines after the first node's text.
    auto snapshot = [&](int rounds) {
        std::string text = original;
        for (int round = 1; round <= rounds; ++round)
            for (int line = 0; line < kLinesPerRound; ++line) text += RecoveryKillLine(round, line);
        tree.First()->Record().Text = text;
        std::string bytes = listFile.Serialize();
        tree.First()->Record().Text = original;
        return bytes;
    };

    double window = 1.5e6;  // microseconds after "ready"; adapts so that kills land among the snapshots
    int none = 0, previous = 0, next = 0;
    for (int trial = 0; trial < Trials(); ++trial) {
        std::error_code ignored;
        fs::remove(recovery, ignored);
        TChild child = Spawn(list, dataHome);
        ASSERT_GT(child.Pid, 0);
        ASSERT_TRUE(child.WaitFor("ready")) << "the child did not start: " << child.Read;
        std::this_thread::sleep_for(std::chrono::microseconds(
            static_cast<long long>(std::uniform_real_distribution<double>(0, window)(rng))));
        ::kill(child.Pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child.Pid, &status, 0), child.Pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << child.Read;
        const int reported = child.LastRound();
        ::close(child.Out);

        if (!fs::exists(recovery)) {
            ASSERT_EQ(reported, 0) << "trial " << trial << ": round " << reported << " reported, no file";
            ++none;
            window *= 1.3;
            continue;
        }
        const std::string bytes = ReadBytes(recovery);
        if (bytes == snapshot(reported)) {
            ++previous;
        } else if (bytes == snapshot(reported + 1)) {
            ++next;
        } else {
            FAIL() << "trial " << trial << ": the recovery file (" << bytes.size()
                   << " bytes) is neither round " << reported << " nor round " << reported + 1;
        }
        if (reported > 40) window *= 0.7;
        TDocumentTree restored;
        TListFile restoredList(restored, host);
        const TListReadResult result = restoredList.ReadListFile(recovery);
        ASSERT_TRUE(result.Succeeded() && !result.Damaged()) << "trial " << trial;
        EXPECT_EQ(restored.First()->Record().Text.substr(0, original.size()), original);
    }
    std::printf("kill-during-recovery: %d trials, no file %d, last reported snapshot %d, the one in flight %d\n",
                none + previous + next, none, previous, next);
    EXPECT_GT(previous + next, 0) << "no trial got as far as a snapshot";
}
