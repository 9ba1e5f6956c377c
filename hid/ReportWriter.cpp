#include "hid/ReportWriter.h"

#include <cerrno>
#include <utility>

#include "hid/MainThreadQueue.h"
#include "hid/ReportWrite.h"
#include "hid/THidDevice.h"

namespace hid {

ReportWriter::ReportWriter(MainThreadQueue& queue) : queue_(queue), thread_([this] { Run(); }) {}

ReportWriter::~ReportWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_one();
  thread_.join();
  *alive_ = false;
}

void ReportWriter::Write(THidDevice& device, std::vector<std::uint8_t> report, Done done) {
  Job job;
  job.handle = device.WriteHandle(job.error, &job.nativeError);
  job.report = std::move(report);
  job.done = std::move(done);
  if (!job.handle) {
    Deliver(std::move(job.done), Outcome{false, 0, job.error, job.nativeError});
    return;
  }
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void ReportWriter::Deliver(Done done, const Outcome& outcome) {
  if (!done) return;
  queue_.Post([alive = alive_, done = std::move(done), outcome] {
    if (*alive) done(outcome);
  });
}

void ReportWriter::Run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    Outcome outcome;
    const auto length = static_cast<std::uint32_t>(job.report.size());
    const bool sent = job.handle->Write(job.report.data(), length, &outcome.written);
    outcome.ok = ReportWriteComplete(sent, outcome.written, length);
    if (!outcome.ok) {
      outcome.error = job.handle->LastError();
      outcome.nativeError = job.handle->NativeError();
      if (outcome.error == 0) outcome.error = EIO;
    }
    // The handle goes here, on this thread, once the device let it go.
    job.handle.reset();
    Deliver(std::move(job.done), outcome);
  }
}

}  // namespace hid
