// The baker: turns the authored sources in content/ into the game's data/ folder.
//
//   bake <content dir> <data dir> [--stamps <dir>] [--jobs <n>]
//   bake --contact-sheet <data dir> <output dir>
//
// Every output keeps a stamp (a hash of its sources and of this program), so a build re-bakes only
// what changed; work runs on a pool of threads; any bad source fails the run, naming the file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/bake/atlas.hpp"
#include "tools/bake/common.hpp"
#include "tools/bake/contact.hpp"
#include "tools/bake/font.hpp"
#include "tools/bake/icon.hpp"
#include "tools/bake/image.hpp"
#include "tools/bake/manifest.hpp"
#include "tools/bake/synth.hpp"

namespace fs = std::filesystem;

namespace bake {
namespace {

struct Job {
    std::string source;                // what an error message names
    std::vector<std::string> inputs;   // files whose bytes decide the output
    std::vector<std::string> outputs;  // relative to the data folder
    std::string extra;                 // further settings that decide the output
    long long cost = 0;                // bigger first, to keep every thread busy to the end
    std::function<void()> run;
    std::string hash;
};

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

long long SizeOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : static_cast<long long>(size);
}

// Catches a sheet drawn on the wrong canvas at bake time, naming the source, rather than at start-up.
void CheckFrameGrid(const std::string& output, const Image& image) {
    const manifest::Picture* entry = manifest::FindPicture(output.c_str());
    if (!entry) {
        if (output.rfind("graphics/", 0) == 0)
            std::printf("bake: note: %s is not a picture the game loads by name\n", output.c_str());
        return;
    }
    std::ostringstream problem;
    if (entry->exactSize && (image.width != entry->frameWidth || image.height != entry->frameHeight)) {
        problem << "is " << image.width << " x " << image.height << " px; the game needs exactly "
                << entry->frameWidth << " x " << entry->frameHeight;
    } else if (image.width < entry->minWidth || image.height < entry->minHeight) {
        problem << "is " << image.width << " x " << image.height << " px; the game needs at least "
                << entry->minWidth << " x " << entry->minHeight;
    } else if (entry->frames > 1) {
        const int fw = entry->frameWidth, fh = entry->frameHeight, n = entry->frames;
        const int columns = image.width / fw, rows = image.height / fh;
        const bool grid = image.width % fw == 0 && image.height % fh == 0;
        const bool oneRow = grid && rows == 1 && columns == n;
        const bool wrapped = grid && rows > 1 && columns * rows >= n && columns * (rows - 1) < n;
        if (!oneRow && !wrapped)
            problem << "is " << image.width << " x " << image.height << " px; the game cuts it into " << n
                    << " frames of " << fw << " x " << fh << ", so the canvas must be " << n * fw << " x "
                    << fh;
    }
    if (!problem.str().empty()) throw BakeError(problem.str());
}

// The SVG pictures of a folder: <File>.png.svg and <File>.jpg.svg.
void AddPictures(std::vector<Job>& jobs, const fs::path& dir, const std::string& outPrefix,
                 const fs::path& data) {
    for (const fs::path& file : FilesIn(dir)) {
        const std::string name = file.filename().string();
        std::string output;
        bool jpeg = false;
        if (EndsWith(name, ".png.svg")) {
            output = name.substr(0, name.size() - 4);
        } else if (EndsWith(name, ".jpg.svg")) {
            output = name.substr(0, name.size() - 4);
            jpeg = true;
        } else {
            continue;
        }
        Job job;
        job.source = file.string();
        job.inputs = {file.string()};
        job.outputs = {outPrefix + output};
        job.cost = SizeOf(file) / 64;
        const std::string target = (data / job.outputs[0]).string();
        const std::string source = file.string();
        job.run = [source, target, jpeg, relative = job.outputs[0]] {
            const Image image = RasteriseSvg(source);
            CheckFrameGrid(relative, image);
            if (jpeg)
                WriteJpeg(target, image, 90);
            else
                WritePng(target, image);
        };
        jobs.push_back(std::move(job));
    }
}

std::vector<Job> CollectJobs(const fs::path& content, const fs::path& data) {
    std::vector<Job> jobs;
    AddPictures(jobs, content / "graphics", "graphics/", data);
    AddPictures(jobs, content / "top", "", data);

    const fs::path icon = content / "top" / "icon.svg";
    if (fs::is_regular_file(icon)) {
        Job job;
        job.source = icon.string();
        job.inputs = {icon.string()};
        job.outputs = {"icon.ico"};
        job.cost = 50;
        const std::string target = (data / "icon.ico").string();
        job.run = [source = icon.string(), target] { BakeIcon(source, target); };
        jobs.push_back(std::move(job));
    }

    if (fs::is_directory(content / "atlas")) {
        std::vector<fs::path> dirs;
        for (const auto& entry : fs::directory_iterator(content / "atlas"))
            if (entry.is_directory()) dirs.push_back(entry.path());
        std::sort(dirs.begin(), dirs.end());
        for (const fs::path& dir : dirs) {
            const std::string name = dir.filename().string();
            Job job;
            job.source = dir.string();
            job.inputs = AtlasSources(dir.string());
            job.outputs = {"graphics/" + name + ".png", "graphics/" + name + ".txt"};
            for (const std::string& input : job.inputs) job.cost += SizeOf(input) / 64 + 20;
            // File names matter too: they are the region names.
            for (const std::string& input : job.inputs)
                job.extra += fs::path(input).filename().string() + "\n";
            const std::string outDir = (data / "graphics").string();
            job.run = [dir = dir.string(), outDir, name] { BakeAtlas(dir, outDir, name); };
            jobs.push_back(std::move(job));
        }
    }

    const fs::path fontsFile = content / "fonts" / "fonts.txt";
    if (fs::is_regular_file(fontsFile)) {
        std::vector<FontSpec> fonts;
        try {
            fonts = ReadFontList(fontsFile.string());
        } catch (const BakeError& e) {
            // Reported with the other failures, so one bad line does not hide the rest of the bake.
            Job job;
            job.source = fontsFile.string();
            job.inputs = {fontsFile.string()};
            job.outputs = {"fonts.txt (unreadable)"};
            job.run = [message = std::string(e.what())] { throw BakeError(message); };
            jobs.push_back(std::move(job));
        }
        for (const FontSpec& spec : fonts) {
            Job job;
            job.source = fontsFile.string() + ":" + std::to_string(spec.lineNumber) + " (" + spec.name + ")";
            job.inputs = {spec.face};
            if (!spec.fallback.empty()) job.inputs.push_back(spec.fallback);
            job.outputs = {spec.name + ".txt", spec.name + ".png"};
            job.extra = spec.line;
            job.cost = 200 + spec.size * spec.size / 4;
            job.run = [spec, outDir = data.string()] { BakeFont(spec, outDir); };
            jobs.push_back(std::move(job));
        }
    }

    struct Recipes {
        const char* folder;
        const char* extension;
        bool music;
    };
    for (const Recipes& kind : {Recipes{"sounds", ".sfx", false}, Recipes{"music", ".score", true}}) {
        // Any other file beside the recipes (shared instruments, say) may feed every recipe.
        std::vector<std::string> shared;
        for (const fs::path& file : FilesIn(content / kind.folder))
            if (file.extension() != kind.extension) shared.push_back(file.string());
        for (const fs::path& file : FilesIn(content / kind.folder)) {
            if (file.extension() != kind.extension) continue;
            Job job;
            job.source = file.string();
            job.inputs = {file.string()};
            job.inputs.insert(job.inputs.end(), shared.begin(), shared.end());
            job.outputs = {std::string(kind.folder) + "/" + file.stem().string() + ".ogg"};
            job.cost = kind.music ? 100000 : 2000;
            const std::string target = (data / job.outputs[0]).string();
            job.run = [source = file.string(), target, music = kind.music] {
                const std::string temp = TempPathFor(target);
                std::string error;
                const bool ok =
                    music ? BakeMusicTrack(source, temp, error) : BakeSoundEffect(source, temp, error);
                if (!ok) {
                    std::error_code ec;
                    fs::remove(temp, ec);
                    throw BakeError(error.empty() ? "the synthesiser failed" : error);
                }
                CommitTemp(temp, target);
            };
            jobs.push_back(std::move(job));
        }
    }

    const fs::path files = content / "files";
    if (fs::is_directory(files)) {
        std::vector<fs::path> all;
        for (const auto& entry : fs::recursive_directory_iterator(files))
            if (entry.is_regular_file()) all.push_back(entry.path());
        std::sort(all.begin(), all.end());
        for (const fs::path& file : all) {
            Job job;
            job.source = file.string();
            job.inputs = {file.string()};
            job.outputs = {fs::relative(file, files).generic_string()};
            job.cost = 1;
            const std::string target = (data / job.outputs[0]).string();
            job.run = [source = file.string(), target] { WriteFileAtomic(target, ReadFile(source)); };
            jobs.push_back(std::move(job));
        }
    }

    // Data files that content does not hold yet: an empty table each.
    for (const manifest::DataFile& file : manifest::kDataFiles) {
        const bool authored = std::any_of(jobs.begin(), jobs.end(), [&file](const Job& job) {
            return std::find(job.outputs.begin(), job.outputs.end(), file.path) != job.outputs.end();
        });
        if (authored) continue;
        Job job;
        job.source = std::string("(empty ") + file.path + ")";
        job.outputs = {file.path};
        job.extra = std::string("<") + file.root + "/>\n";
        job.cost = 1;
        const std::string target = (data / file.path).string();
        job.run = [target, bytes = job.extra] { WriteFileAtomic(target, bytes); };
        jobs.push_back(std::move(job));
    }

    // Two sources for one output would make the result depend on the order of the threads.
    std::map<std::string, std::string> owners;
    for (const Job& job : jobs)
        for (const std::string& output : job.outputs) {
            auto [it, fresh] = owners.emplace(output, job.source);
            if (!fresh) throw BakeError(job.source + " and " + it->second + " both bake to data/" + output);
        }
    return jobs;
}

std::string StampName(const std::string& output) {
    std::string name = output;
    for (char& c : name)
        if (c == '/' || c == '\\') c = '%';
    return name + ".stamp";
}

std::string ReadStamp(const fs::path& file) {
    try {
        return ReadFile(file.string());
    } catch (const BakeError&) {
        return "";
    }
}

std::string StampText(const Job& job) {
    std::string text = job.hash + "\n";
    for (const std::string& output : job.outputs) text += output + "\n";
    return text;
}

int Bake(const fs::path& content, const fs::path& data, const fs::path& stamps, unsigned threads) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<Job> jobs;
    try {
        jobs = CollectJobs(content, data);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bake: error: %s\n", e.what());
        return 1;
    }

    // The program's own bytes join every hash, so a changed baker re-bakes everything it made.
    std::string self;
    try {
        self = ReadFile("/proc/self/exe");
    } catch (const BakeError&) {
        self = __DATE__ __TIME__;
    }
    Hasher selfHash;
    selfHash.Add(self);

    std::vector<size_t> pending;
    for (size_t i = 0; i < jobs.size(); ++i) {
        Job& job = jobs[i];
        Hasher hash = selfHash;
        try {
            for (const std::string& input : job.inputs) {
                // Content files by their place in content/, so the same checkout reached by another
                // path, or moved, is still up to date.
                const std::string relative = fs::path(input).lexically_relative(content).generic_string();
                hash.Add(!relative.empty() && relative.rfind("..", 0) != 0 ? relative : input);
                hash.Add(ReadFile(input));
            }
        } catch (const BakeError& e) {
            std::fprintf(stderr, "bake: error: %s: %s\n", job.source.c_str(), e.what());
            return 1;
        }
        hash.Add(job.extra);
        for (const std::string& output : job.outputs) hash.Add(output);
        job.hash = hash.Hex();
        bool fresh = ReadStamp(stamps / StampName(job.outputs[0])) == StampText(job);
        for (const std::string& output : job.outputs) fresh = fresh && fs::exists(data / output);
        if (!fresh) pending.push_back(i);
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [&](size_t a, size_t b) { return jobs[a].cost > jobs[b].cost; });

    std::error_code ec;
    // Half-written files of an interrupted earlier run (see TempPathFor) never reach the game.
    if (fs::is_directory(data)) {
        std::vector<fs::path> leftovers;
        for (const auto& entry : fs::recursive_directory_iterator(data, ec)) {
            const std::string name = entry.path().filename().string();
            const auto tmp = name.rfind(".tmp");
            if (tmp != std::string::npos && tmp + 4 < name.size() &&
                name.find_first_not_of("0123456789", tmp + 4) == std::string::npos)
                leftovers.push_back(entry.path());
        }
        for (const fs::path& file : leftovers) fs::remove(file, ec);
    }
    fs::create_directories(stamps, ec);
    for (size_t i : pending)
        for (const std::string& output : jobs[i].outputs)
            fs::create_directories((data / output).parent_path(), ec);

    std::atomic<size_t> next{0};
    std::mutex lock;
    std::vector<std::string> errors;
    auto worker = [&] {
        for (;;) {
            const size_t n = next++;
            if (n >= pending.size()) return;
            Job& job = jobs[pending[n]];
            const fs::path stamp = stamps / StampName(job.outputs[0]);
            std::error_code removeError;
            fs::remove(stamp, removeError);
            std::string failure;
            try {
                job.run();
            } catch (const std::exception& e) {
                failure = e.what();
            }
            std::lock_guard<std::mutex> guard(lock);
            if (!failure.empty()) {
                // Atlas messages already name the exact file; others get the job's source.
                if (failure.rfind(job.source, 0) == 0)
                    errors.push_back(failure);
                else
                    errors.push_back(job.source + ": " + failure);
                continue;
            }
            try {
                WriteFileAtomic(stamp.string(), StampText(job));
            } catch (const BakeError& e) {
                errors.push_back(e.what());
            }
            std::printf("bake: %s\n", job.outputs[0].c_str());
            std::fflush(stdout);
        }
    };
    std::vector<std::thread> pool;
    const unsigned count = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(pending.size())));
    for (unsigned i = 0; i < count && !pending.empty(); ++i) pool.emplace_back(worker);
    for (std::thread& t : pool) t.join();

    // Outputs whose source is gone: delete them, so a renamed picture does not linger in data/.
    // Not after a failure: a broken list (fonts.txt, say) must not cost the outputs it still names.
    std::set<std::string> current;
    for (const Job& job : jobs) current.insert(StampName(job.outputs[0]));
    for (const fs::path& stamp : errors.empty() ? FilesIn(stamps) : std::vector<fs::path>{}) {
        if (stamp.extension() != ".stamp" || current.count(stamp.filename().string())) continue;
        std::istringstream lines(ReadStamp(stamp));
        std::string line;
        std::getline(lines, line);
        while (std::getline(lines, line)) {
            if (line.empty() || line.find("..") != std::string::npos) continue;
            fs::remove(data / line, ec);
            std::printf("bake: removed %s (its source is gone)\n", line.c_str());
        }
        fs::remove(stamp, ec);
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!errors.empty()) {
        std::sort(errors.begin(), errors.end());
        for (const std::string& e : errors) std::fprintf(stderr, "bake: error: %s\n", e.c_str());
        std::fprintf(stderr, "bake: %zu of %zu outputs failed\n", errors.size(), pending.size());
        return 1;
    }
    std::printf("bake: %zu baked, %zu up to date, %.1f s\n", pending.size(), jobs.size() - pending.size(),
                seconds);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: bake <content dir> <data dir> [--stamps <dir>] [--jobs <n>]\n"
                 "       bake --contact-sheet <data dir> <output dir>\n");
    return 2;
}

}  // namespace
}  // namespace bake

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--contact-sheet") {
        if (args.size() != 3) return bake::Usage();
        return bake::RenderContactSheet(args[1], args[2]);
    }
    std::vector<std::string> positional;
    std::string stamps;
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--stamps" && i + 1 < args.size()) {
            stamps = args[++i];
        } else if (args[i] == "--jobs" && i + 1 < args.size()) {
            threads = static_cast<unsigned>(std::max(1, std::atoi(args[++i].c_str())));
        } else if (!args[i].empty() && args[i][0] == '-') {
            return bake::Usage();
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) return bake::Usage();
    fs::path data = fs::absolute(positional[1]).lexically_normal();
    if (!data.has_filename()) data = data.parent_path();
    if (stamps.empty()) stamps = (data.parent_path() / ".bake-stamps").string();
    return bake::Bake(fs::absolute(positional[0]).lexically_normal(), data, stamps, threads);
}
