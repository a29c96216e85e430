// Crash safety of saving: a child process saves a large list over an older one and is killed with SIGKILL
// at a random moment. Whatever the moment, the list file holds exactly the old or exactly the new bytes,
// and the next save leaves no temporary file behind. POSIX only (fork, kill).
//
// VELLORIA_KILL_TRIALS sets the number of trials (default 30).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "TestSupport.h"
#include "TreeGenerator.h"
#include "app/ListFile.h"

namespace {

int Trials() {
    const char* value = std::getenv("VELLORIA_KILL_TRIALS");
    const int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : 30;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ListFileKill, KilledSaveLeavesTheOldOrTheNewListAndTheNextSaveCleansUp) {
    TTempDir dir;
    const auto target = dir / "notes.vlt";
    TListFileHost host;

    std::mt19937 rng(20261208);
    TDocumentTree oldTree, newTree;
    GenerateTree(oldTree, rng, {.Documents = 2000, .TextBytes = 2000});
    GenerateTree(newTree, rng, {.Documents = 12000, .TextBytes = 2500});
    TListFile oldList(oldTree, host), newList(newTree, host);
    const std::string oldBytes = oldList.Serialize();
    const std::string newBytes = newList.Serialize();
    ASSERT_GT(newBytes.size(), 20u << 20);

    // How long one save in a forked child takes here, so that the kills spread over the whole of it.
    ASSERT_TRUE(oldList.WriteListFile(target));
    const auto begin = std::chrono::steady_clock::now();
    const pid_t timed = fork();
    ASSERT_GE(timed, 0);
    if (timed == 0) _exit(newList.WriteListFile(target) ? 0 : 1);
    int timedStatus = 0;
    ASSERT_EQ(waitpid(timed, &timedStatus, 0), timed);
    ASSERT_TRUE(WIFEXITED(timedStatus) && WEXITSTATUS(timedStatus) == 0);
    ASSERT_EQ(ReadBytes(target), newBytes);
    const auto saveTime = std::chrono::steady_clock::now() - begin;
    // The window adapts: shorter after a save that completed, longer after one that did not, so that the
    // kills keep landing inside the save whatever the machine's load.
    double window = static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count());

    int sawOld = 0, sawNew = 0;
    for (int trial = 0; trial < Trials(); ++trial) {
        ASSERT_TRUE(oldList.WriteListFile(target));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            newList.WriteListFile(target);
            _exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(
            static_cast<long long>(std::uniform_real_distribution<double>(0, window)(rng))));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const std::string now = ReadBytes(target);
        if (now == oldBytes) {
            ++sawOld;
            window *= 1.15;
        } else if (now == newBytes) {
            ++sawNew;
            window *= 0.8;
        }
        else
            FAIL() << "trial " << trial << ": the list holds " << now.size() << " bytes, neither old ("
                   << oldBytes.size() << ") nor new (" << newBytes.size() << ")";
    }
    std::printf("kill-during-save: %d trials, old list kept %d times, new list complete %d times\n",
                sawOld + sawNew, sawOld, sawNew);

    ASSERT_TRUE(oldList.WriteListFile(target));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"notes.vlt"});
    EXPECT_EQ(ReadBytes(target), oldBytes);
}
