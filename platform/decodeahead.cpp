// The worker that decodes pictures ahead of their loading, and the hand-over to the main thread.
#include "platform/decodeahead.hpp"

#include <chrono>
#include <condition_variable>
#include <list>
#include <mutex>
#include <new>
#include <thread>

#include "platform/imagecodec.hpp"
#include "platform/internal.hpp"
#include "platform/mixer.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

namespace platform {

namespace {

// Decoded pixels waiting for their loading may fill this much memory; beyond it the worker waits
// until the loading screen has taken some (it takes one picture a frame).
constexpr size_t kBytesAhead = 64u << 20;

struct Job {
    enum State { kQueued, kDecoding, kDone, kFailed };
    std::string file;  // as the file system names it: the key the loading asks by
    bool sound = false;
    State state = kQueued;
    bool dropped = false;  // forgotten while the worker was on it
    DecodedImage image;
    SamplePtr sample;
    std::string error;  // why a failed job could not be decoded; "" when its file could not be read
};

struct Ahead {
    std::mutex lock;
    std::condition_variable changed;
    // A list: the worker keeps its job while it decodes outside the lock.
    std::list<Job> jobs;
    size_t bytes = 0;  // pixels of the decoded jobs
    bool stop = false;
    // The renderer's limits, copied on the main thread: the worker refuses what the load would.
    PictureLimits limits;
    std::thread worker;
};

Ahead& A() {
    // Never destroyed: a worker still running when the process ends is no use-after-free.
    static Ahead* ahead = new Ahead;
    return *ahead;
}

// Reads and decodes one job's file. A file that cannot be read is left to the load, which reads
// it again and says why in its own words; a decode that fails says why in `error`. Nothing thrown
// here may leave the worker: a picture too large for the memory left is one failed load, not the
// end of the game.
bool Decode(const std::string& file, bool sound, const PictureLimits& limits, DecodedImage& image,
            SamplePtr& sample, std::string& error) {
    try {
        std::string bytes;
        if (!ReadPlainFile(file, kMaxDataFile, bytes).Read()) return false;
        if (sound) {
            sample = DecodeSound(bytes);
            if (!sample) error = "it cannot be decoded";
            return sample != nullptr;
        }
        return DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error,
                           limits);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to decode it";
    } catch (const std::exception& e) {
        error = std::string("it cannot be decoded (") + e.what() + ")";
    } catch (...) {
        error = "it cannot be decoded";
    }
    image = DecodedImage();
    sample.reset();
    return false;
}

Job* NextQueued(Ahead& a) {
    for (Job& job : a.jobs) {
        if (job.state == Job::kQueued) return &job;
    }
    return nullptr;
}

void Work() {
    Ahead& a = A();
    std::unique_lock<std::mutex> held(a.lock);
    for (;;) {
        a.changed.wait(held, [&] { return a.stop || (a.bytes < kBytesAhead && NextQueued(a)); });
        if (a.stop) return;
        Job& job = *NextQueued(a);
        job.state = Job::kDecoding;
        const std::string file = job.file;
        const bool sound = job.sound;
        const PictureLimits limits = a.limits;
        held.unlock();
        std::string error;
        DecodedImage image;
        SamplePtr sample;
        const bool ok = Decode(file, sound, limits, image, sample, error);
        held.lock();
        if (job.dropped) {
            a.jobs.remove_if([](const Job& j) { return j.dropped; });
        } else if (ok) {
            a.bytes += sound ? sample->data.size() * sizeof(float) : image.rgba.size();
            job.image = std::move(image);
            job.sample = std::move(sample);
            job.state = Job::kDone;
        } else {
            job.error = std::move(error);
            job.state = Job::kFailed;
        }
        a.changed.notify_all();
    }
}

// The file name the loading of `path` reads; "" for a path no file stands behind. (Sounds are
// read by their mapped name as it stands.)
std::string FileOf(const std::string& path, bool sound) {
    const std::string mapped = MapPath(DataPath(path));
    return mapped.empty() || sound ? mapped : ResolveWorkingPath(mapped);
}

void Queue(const std::vector<std::string>& paths, bool sound) {
    Ahead& a = A();
    std::lock_guard<std::mutex> held(a.lock);
    a.limits = detail::E().pictureLimits;
    for (const std::string& path : paths) {
        std::string file = FileOf(path, sound);
        if (file.empty()) continue;
        bool known = false;
        for (const Job& job : a.jobs)
            known = known || (job.file == file && job.sound == sound && !job.dropped);
        if (known) continue;
        a.jobs.emplace_back();
        a.jobs.back().file = std::move(file);
        a.jobs.back().sound = sound;
    }
    if (!a.worker.joinable()) a.worker = std::thread(Work);
    a.changed.notify_all();
}

// The job decoded ahead for `path`, handed over (waiting for it when the worker is on it right
// now); null when there is none to hand over.
std::list<Job>::iterator Take(Ahead& a, std::unique_lock<std::mutex>& held, const std::string& path,
                              bool sound) {
    const std::string file = FileOf(path, sound);
    auto it = a.jobs.begin();
    while (it != a.jobs.end() && (it->file != file || it->sound != sound || it->dropped)) ++it;
    if (file.empty() || it == a.jobs.end()) return a.jobs.end();
    // The worker is on it: that is the shortest way to it.
    a.changed.wait(held, [&] { return it->state != Job::kDecoding; });
    return it;
}

}  // namespace

void DecodeAhead(const std::vector<std::string>& paths) {
    Queue(paths, false);
}

void DecodeSoundsAhead(const std::vector<std::string>& paths) {
    Queue(paths, true);
}

void ForgetDecodedAhead() {
    Ahead& a = A();
    std::lock_guard<std::mutex> held(a.lock);
    for (Job& job : a.jobs) job.dropped = true;
    a.jobs.remove_if([](const Job& job) { return job.state != Job::kDecoding; });
    a.bytes = 0;
    a.changed.notify_all();
}

bool WaitForDecodingAhead(int timeoutMs) {
    Ahead& a = A();
    std::unique_lock<std::mutex> held(a.lock);
    return a.changed.wait_for(held, std::chrono::milliseconds(timeoutMs), [&] {
        for (const Job& job : a.jobs) {
            if (job.state == Job::kQueued || job.state == Job::kDecoding) return false;
        }
        return true;
    });
}

namespace detail {

bool TakeDecodedAhead(const std::string& path, DecodedImage& out, std::string& error) {
    Ahead& a = A();
    std::unique_lock<std::mutex> held(a.lock);
    const auto it = Take(a, held, path, false);
    if (it == a.jobs.end()) return false;
    const bool done = it->state == Job::kDone;
    if (done) {
        a.bytes -= it->image.rgba.size();
        out = std::move(it->image);
    }
    // Not reached yet or not read, the caller reads it now; not decoded, the caller says why.
    error = std::move(it->error);
    a.jobs.erase(it);
    a.changed.notify_all();
    return done;
}

SamplePtr TakeSoundDecodedAhead(const std::string& path, bool& failed) {
    Ahead& a = A();
    std::unique_lock<std::mutex> held(a.lock);
    failed = false;
    const auto it = Take(a, held, path, true);
    if (it == a.jobs.end()) return nullptr;
    SamplePtr sample = std::move(it->sample);
    if (sample) a.bytes -= sample->data.size() * sizeof(float);
    failed = !it->error.empty();
    a.jobs.erase(it);
    a.changed.notify_all();
    return sample;
}

void StopDecodingAhead() {
    Ahead& a = A();
    {
        std::lock_guard<std::mutex> held(a.lock);
        a.stop = true;
        a.changed.notify_all();
    }
    if (a.worker.joinable()) a.worker.join();
    std::lock_guard<std::mutex> held(a.lock);
    a.jobs.clear();
    a.bytes = 0;
    a.stop = false;
}

}  // namespace detail
}  // namespace platform
