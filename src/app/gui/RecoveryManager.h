// TRecoveryManager: writes recovery snapshots of a modified list in the background.
//
// The window reports every change of the list (Changed). Some time after the last change (Idle, 30 s), and
// at the latest MaxDelay (60 s) after the first change since the last snapshot while the changes go on, the
// manager asks the window for the snapshot's bytes (TakeSnapshot, on the window's thread: the only part
// that costs the user time) and hands them to its worker thread, which writes the recovery file through
// the crash-safe writer. Writes and removals run one after the other in the order they were asked for, so
// a removal after a save is never undone by an older snapshot still on its way. A snapshot that waits
// while a newer one for the same file arrives is dropped.
//
// Failures are reported on the window's thread (OnFailure); the manager goes on trying.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class TRecoveryManager : public QObject {
public:
    explicit TRecoveryManager(QObject* parent = nullptr);
    // Finishes the jobs already asked for (a removal after a save must happen), then stops the worker.
    ~TRecoveryManager() override;
    TRecoveryManager(const TRecoveryManager&) = delete;
    TRecoveryManager& operator=(const TRecoveryManager&) = delete;

    // The snapshot's bytes and the recovery file they go to; empty bytes skip this snapshot.
    struct TSnapshot {
        std::filesystem::path File;
        std::string Bytes;
    };
    std::function<TSnapshot()> TakeSnapshot;
    // A write or removal failed; text tells which file and why.
    std::function<void(const QString& text)> OnFailure;

    void SetEnabled(bool enabled);
    bool Enabled() const { return FEnabled; }
    void SetDelays(std::chrono::milliseconds idle, std::chrono::milliseconds maxDelay);

    // The list changed: a snapshot is due after the idle time (or the longest delay).
    void Changed();
    // No snapshot is due any more (the list was saved, discarded or replaced).
    void Cancel();
    // Takes the snapshot now and queues its write.
    void SnapshotNow();
    bool Pending() const { return FIdle.isActive(); }
    // Queues the removal of a recovery file (after it was dealt with: saved, restored and saved, discarded).
    void Remove(const std::filesystem::path& file);

    // Blocks until every job asked for so far is done (tests, and before the program ends).
    void WaitIdle();
    // Snapshots written since the start.
    int Written() const { return FWritten.load(); }

private:
    struct TJob {
        std::filesystem::path File;
        std::string Bytes;
        bool Remove = false;
    };
    void Run();
    void Report(const std::string& error);

    bool FEnabled = true;
    QTimer FIdle;
    std::chrono::milliseconds FIdleDelay{30000};
    std::chrono::milliseconds FMaxDelay{60000};
    std::chrono::steady_clock::time_point FFirstChange{};
    bool FHaveFirstChange = false;

    std::mutex FMutex;
    std::condition_variable FWake;  // a job arrived, or the end
    std::condition_variable FDone;  // the queue is empty and nothing is running
    std::deque<TJob> FJobs;
    bool FBusy = false;
    bool FStop = false;
    std::atomic<int> FWritten{0};
    std::thread FWorker;
};
