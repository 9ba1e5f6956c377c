#include "hid/platform/windows/tests/fake/FakePipeDevice.h"

#include <stdexcept>

namespace fakehid {

namespace {

// Instances waiting for a CreateFile. A real device never refuses an open as
// busy; a pipe does when every instance is taken before this thread has made
// new ones, so keep plenty (the device layer opens and closes its main handle
// several times in a row while a scan looks at a device).
constexpr int kListening = 24;
constexpr DWORD kPipeBuffer = 64 * 1024;  // room for many unread reports

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (; *text != 0; ++text) out.push_back(static_cast<char>(*text < 0x80 ? *text : '?'));
    return out;
}

}  // namespace

FakePipeDevice::FakePipeDevice(int id, const FakeHidDevice& description)
    : description_(description),
      firmware_(Narrow(description.serial), Narrow(description.product)),
      wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    pipeName_ = L"varnok-fake-hid-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(id);
    path_ = "\\\\.\\pipe\\" + Narrow(pipeName_.c_str());
    for (int i = 0; i < kListening; ++i) {
        auto instance = Listen();
        if (!instance) {
            for (auto& made : listening_) Close(*made);
            CloseHandle(wake_);
            throw std::runtime_error("cannot make the pipe " + path_);
        }
        listening_.push_back(std::move(instance));
    }
    thread_ = std::thread([this] { Run(); });
}

FakePipeDevice::~FakePipeDevice() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    SetEvent(wake_);
    thread_.join();
    CloseHandle(wake_);
}

std::unique_ptr<FakePipeDevice::Instance> FakePipeDevice::Listen() {
    auto instance = std::make_unique<Instance>();
    // A device this user may not open for writing: an outbound pipe, which
    // refuses GENERIC_WRITE and takes opens without access rights.
    const DWORD mode = (description_.readWriteRefused ? PIPE_ACCESS_OUTBOUND : PIPE_ACCESS_DUPLEX) |
                       FILE_FLAG_OVERLAPPED;
    instance->pipe = CreateNamedPipeW((L"\\\\.\\pipe\\" + pipeName_).c_str(), mode,
                                      PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                      PIPE_UNLIMITED_INSTANCES, kPipeBuffer, kPipeBuffer, 0, nullptr);
    instance->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (instance->pipe == INVALID_HANDLE_VALUE || instance->event == nullptr) {
        Close(*instance);
        return nullptr;
    }
    instance->overlapped.hEvent = instance->event;
    instance->busy = true;
    if (!ConnectNamedPipe(instance->pipe, &instance->overlapped)) {
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) {
            SetEvent(instance->event);
        } else if (error != ERROR_IO_PENDING) {
            instance->busy = false;
            Close(*instance);
            return nullptr;
        }
    }
    return instance;
}

bool FakePipeDevice::StartRead(Instance& connection) {
    connection.overlapped = OVERLAPPED{};
    connection.overlapped.hEvent = connection.event;
    ResetEvent(connection.event);
    connection.busy = true;
    if (ReadFile(connection.pipe, connection.buffer, sizeof connection.buffer, nullptr, &connection.overlapped))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING || error == ERROR_MORE_DATA) return true;
    connection.busy = false;
    return false;
}

void FakePipeDevice::Close(Instance& instance) {
    if (instance.busy) {  // the OVERLAPPED must outlive the operation
        CancelIoEx(instance.pipe, &instance.overlapped);
        DWORD n = 0;
        GetOverlappedResult(instance.pipe, &instance.overlapped, &n, TRUE);
        instance.busy = false;
    }
    if (instance.pipe != INVALID_HANDLE_VALUE) {
        if (instance.connected) DisconnectNamedPipe(instance.pipe);
        CloseHandle(instance.pipe);
        instance.pipe = INVALID_HANDLE_VALUE;
    }
    if (instance.event != nullptr) {
        CloseHandle(instance.event);
        instance.event = nullptr;
    }
}

bool FakePipeDevice::WriteMessage(Instance& connection, const std::uint8_t* data, std::uint32_t length) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BOOL ok = WriteFile(connection.pipe, data, length, nullptr, &overlapped);
    DWORD written = 0;
    if (ok || GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(connection.pipe, &overlapped, &written, TRUE);
    CloseHandle(overlapped.hEvent);
    return ok && written == length;
}

int FakePipeDevice::DeliverLocked(const std::uint8_t* data, std::uint32_t length) {
    int delivered = 0;
    bool failed = false;
    for (auto& connection : connections_) {
        if (connection->wrote || connection->failed) continue;
        if (WriteMessage(*connection, data, length)) {
            ++delivered;
        } else {  // its client is gone: the server thread closes it
            connection->failed = true;
            failed = true;
        }
    }
    if (failed) SetEvent(wake_);
    return delivered;
}

int FakePipeDevice::SendInput(const std::uint8_t* report, std::uint32_t length) {
    std::lock_guard lock(mutex_);
    if (stopping_) return 0;
    return DeliverLocked(report, length);
}

void FakePipeDevice::DropFailedLocked() {
    for (auto it = connections_.begin(); it != connections_.end();) {
        Instance& connection = **it;
        if (connection.failed && !connection.busy) {
            if (!connection.wrote) --listeners_;
            Close(connection);
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void FakePipeDevice::Run() {
    for (;;) {
        std::vector<HANDLE> handles{wake_};
        std::vector<Instance*> owners{nullptr};
        {
            std::lock_guard lock(mutex_);
            if (stopping_) break;
            DropFailedLocked();
            for (auto& instance : listening_) {
                handles.push_back(instance->event);
                owners.push_back(instance.get());
            }
            for (auto& connection : connections_) {
                if (connection->busy && handles.size() < MAXIMUM_WAIT_OBJECTS) {
                    handles.push_back(connection->event);
                    owners.push_back(connection.get());
                }
            }
        }
        const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        if (woken == WAIT_FAILED) Sleep(10);  // not expected; never spin
        if (woken == WAIT_OBJECT_0 || woken >= WAIT_OBJECT_0 + handles.size()) continue;
        Instance* instance = owners[woken - WAIT_OBJECT_0];
        std::lock_guard lock(mutex_);
        DWORD count = 0;
        const BOOL ok = GetOverlappedResult(instance->pipe, &instance->overlapped, &count, FALSE);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        instance->busy = false;
        ResetEvent(instance->event);
        if (!instance->connected) {  // a CreateFile connected a listening instance
            auto it = std::find_if(listening_.begin(), listening_.end(),
                                   [instance](const auto& l) { return l.get() == instance; });
            std::unique_ptr<Instance> connection = std::move(*it);
            listening_.erase(it);
            if (ok || error == ERROR_PIPE_CONNECTED) {
                connection->connected = true;
                ++listeners_;
                if (!description_.readWriteRefused && !StartRead(*connection)) {
                    --listeners_;
                    Close(*connection);
                } else {
                    connections_.push_back(std::move(connection));
                }
            } else {
                Close(*connection);
            }
            if (auto next = Listen()) listening_.push_back(std::move(next));
            continue;
        }
        auto it = std::find_if(connections_.begin(), connections_.end(),
                               [instance](const auto& c) { return c.get() == instance; });
        if (ok || error == ERROR_MORE_DATA) {  // an output report
            if (!instance->wrote) {
                instance->wrote = true;
                --listeners_;
            }
            ++outputReports_;
            if (description_.firmware) {
                for (const auto& answer : firmware_.HandleOutputReport(instance->buffer, count))
                    DeliverLocked(answer.data(), static_cast<std::uint32_t>(answer.size()));
            }
            if (StartRead(*instance)) continue;
        }
        // The client closed its handle.
        if (!instance->wrote) --listeners_;
        Close(*instance);
        connections_.erase(it);
    }
    std::lock_guard lock(mutex_);
    for (auto& instance : listening_) Close(*instance);
    for (auto& connection : connections_) Close(*connection);
    listening_.clear();
    connections_.clear();
    listeners_ = 0;
}

}  // namespace fakehid
