#include "app/gui/RecoveryManager.h"

#include <algorithm>

#include "app/Backups.h"

TRecoveryManager::TRecoveryManager(QObject* parent) : QObject(parent) {
    FIdle.setSingleShot(true);
    connect(&FIdle, &QTimer::timeout, this, [this] { SnapshotNow(); });
    FWorker = std::thread([this] { Run(); });
}

TRecoveryManager::~TRecoveryManager() {
    FIdle.stop();
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FWake.notify_all();
    FWorker.join();
}

void TRecoveryManager::SetEnabled(bool enabled) {
    FEnabled = enabled;
    if (!enabled) Cancel();
}

void TRecoveryManager::SetDelays(std::chrono::milliseconds idle, std::chrono::milliseconds maxDelay) {
    FIdleDelay = std::max(idle, std::chrono::milliseconds(0));
    FMaxDelay = std::max(maxDelay, FIdleDelay);
}

void TRecoveryManager::Changed() {
    if (!FEnabled) return;
    const auto now = std::chrono::steady_clock::now();
    if (!FHaveFirstChange) {
        FFirstChange = now;
        FHaveFirstChange = true;
    }
    // The idle time after this change, but no later than the longest delay after the first one.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(FFirstChange + FMaxDelay - now);
    FIdle.start(std::clamp(left, std::chrono::milliseconds(0), FIdleDelay));
}

void TRecoveryManager::Cancel() {
    FIdle.stop();
    FHaveFirstChange = false;
}

void TRecoveryManager::SnapshotNow() {
    Cancel();
    if (!FEnabled || !TakeSnapshot) return;
    TSnapshot snapshot = TakeSnapshot();
    if (snapshot.Bytes.empty() || snapshot.File.empty()) return;
    {
        std::lock_guard lock(FMutex);
        // An older snapshot of the same file that has not started yet is out of date.
        std::erase_if(FJobs, [&](const TJob& job) { return !job.Remove && job.File == snapshot.File; });
        FJobs.push_back({std::move(snapshot.File), std::move(snapshot.Bytes), false});
    }
    FWake.notify_one();
}

void TRecoveryManager::Remove(const std::filesystem::path& file) {
    if (file.empty()) return;
    {
        std::lock_guard lock(FMutex);
        std::erase_if(FJobs, [&](const TJob& job) { return job.File == file; });
        FJobs.push_back({file, {}, true});
    }
    FWake.notify_one();
}

void TRecoveryManager::WaitIdle() {
    std::unique_lock lock(FMutex);
    FDone.wait(lock, [this] { return FJobs.empty() && !FBusy; });
}

void TRecoveryManager::Run() {
    std::unique_lock lock(FMutex);
    for (;;) {
        FWake.wait(lock, [this] { return FStop || !FJobs.empty(); });
        if (FJobs.empty()) break;  // stopping, and every job is done
        TJob job = std::move(FJobs.front());
        FJobs.pop_front();
        FBusy = true;
        lock.unlock();
        const backups::TResult result =
            job.Remove ? backups::RemoveRecoveryFile(job.File) : backups::WriteRecoveryFile(job.File, job.Bytes);
        if (result.Ok() && !job.Remove) ++FWritten;
        if (!result.Ok()) Report(result.Error);
        lock.lock();
        FBusy = false;
        if (FJobs.empty()) FDone.notify_all();
    }
    FDone.notify_all();
}

void TRecoveryManager::Report(const std::string& error) {
    const QString text = QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size()));
    QMetaObject::invokeMethod(
        this, [this, text] { if (OnFailure) OnFailure(text); }, Qt::QueuedConnection);
}
