#pragma once
// A queue of background jobs that run one at a time, in queue order, each on a thread of its
// own: the install queue and the uninstall queue of application management.
//
// A job is queued without a thread; it gets one when it is the head of the queue and no thread
// runs; it keeps its place (and its thread) until its worker calls Finish, which removes it and
// starts the next. The worker's thread is joined by the next Append or by Join, never by the
// thread itself.
//
// Locks: the queue's own lock guards everything here and is taken last (callers may hold
// appLock). Procedures run without it. A worker calls Finish while it holds appLock, and a
// thread is handed over for joining only there, so a thread being joined holds no lock that its
// joiner could hold: it only returns.

#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "ui/shared_object.h"

namespace zentri {

template <class Job>
class JobQueue {
  public:
    using JobPtr = shared_ptr<Job>;
    // The worker's procedure; it ends by calling Finish(job).
    using Procedure = std::function<void(JobPtr)>;
    // Called under the queue lock just before a job's thread starts.
    using BeforeStart = std::function<void(Job&)>;

    JobQueue(Procedure procedure, BeforeStart beforeStart = nullptr)
        : procedure_(std::move(procedure)), beforeStart_(std::move(beforeStart)) {}
    ~JobQueue() {
        Stop();
        Join();
    }
    JobQueue(const JobQueue&) = delete;
    JobQueue& operator=(const JobQueue&) = delete;

    // Appends the job and starts it when it is the head of the queue. False, and the job is not
    // queued, once the queue has been stopped.
    bool Append(const JobPtr& job) {
        std::vector<std::thread> ended;
        bool queued = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!stopped_) {
                jobs_.push_back(job);
                StartNext();
                queued = true;
            }
            ended.swap(ended_);
        }
        JoinAll(ended);
        return queued;
    }

    // Removes the first entry that is this very job and starts the next. Called by the job's
    // worker at its end, under appLock.
    void Finish(Job* job) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = jobs_.begin(); it != jobs_.end(); ++it) {
            if (it->get() == job) {
                jobs_.erase(it);
                break;
            }
        }
        auto running = threads_.find(job);
        if (running != threads_.end()) {
            ended_.push_back(std::move(running->second));
            threads_.erase(running);
        }
        StartNext();
    }

    // True once Stop has run: workers still running then report nothing to the program.
    bool Stopped() {
        std::lock_guard<std::mutex> lock(mutex_);
        return stopped_;
    }

    // Takes no more jobs and drops the ones waiting; returns them (they never run). Running
    // jobs go on to their end. Does not block.
    std::vector<JobPtr> Stop() {
        std::vector<JobPtr> dropped;
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
        for (auto it = jobs_.begin(); it != jobs_.end();) {
            if (threads_.count(it->get())) {
                ++it;
            } else {
                dropped.push_back(*it);
                it = jobs_.erase(it);
            }
        }
        return dropped;
    }

    // Waits for every worker to end; after Stop. Must not be called while holding appLock (a
    // worker takes it to report) nor from a worker.
    void Join() {
        std::vector<std::thread> threads;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& [job, thread] : threads_)
                threads.push_back(std::move(thread));
            threads_.clear();
            for (std::thread& thread : ended_)
                threads.push_back(std::move(thread));
            ended_.clear();
        }
        JoinAll(threads);
    }

    // Takes jobs again after Stop (a new start of the program's state, in tests).
    void Restart() {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = false;
    }

    bool Empty() {
        std::lock_guard<std::mutex> lock(mutex_);
        return jobs_.empty();
    }

    // The jobs waiting and running, head first.
    std::vector<JobPtr> Jobs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return {jobs_.begin(), jobs_.end()};
    }

    // True while the job has a thread: from its start until its worker has called Finish.
    bool Running(const Job* job) {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_.count(const_cast<Job*>(job)) != 0;
    }

  private:
    // Lock held. Only the head of the queue may start, and only when it has no thread yet.
    void StartNext() {
        if (stopped_) return;
        for (const JobPtr& job : jobs_) {
            if (threads_.count(job.get())) continue;
            if (job != jobs_.front()) return;
            if (beforeStart_) beforeStart_(*job);
            try {
                threads_.emplace(job.get(), std::thread(procedure_, job));
            } catch (const std::system_error&) {
                // No thread now: the job waits at the head until the next Append or Finish.
            }
            return;
        }
    }

    static void JoinAll(std::vector<std::thread>& threads) {
        for (std::thread& thread : threads)
            if (thread.joinable()) thread.join();
    }

    const Procedure procedure_;
    const BeforeStart beforeStart_;
    std::mutex mutex_;
    std::list<JobPtr> jobs_;
    std::map<Job*, std::thread> threads_;  // the running job's worker
    std::vector<std::thread> ended_;       // workers that have called Finish
    bool stopped_ = false;
};

}  // namespace zentri
