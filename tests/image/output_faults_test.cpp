// Every kind of file the programs write (a sprite file, a PNG picture, temp.bmp) against every
// condition a disk, a folder or a name can throw at it. Each row says what each kind must do; the
// test checks the result, the message, the bytes left at the path (the old ones or the whole new
// ones), and that no stray file remains.
//
// A full disk is a small tmpfs where mounting is allowed (root), else the writer's seam. Rows
// that need another user's rights run, as root, in a child process as the user nobody.

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "disk_faults.h"
#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "file_bytes.h"
#include "image/bmp_file.h"
#include "image/png_codec.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { kDat, kPng, kTempBmp };
constexpr Kind kKinds[] = {Kind::kDat, Kind::kPng, Kind::kTempBmp};

const char* Suffix(Kind kind) {
    return kind == Kind::kDat ? ".dat" : kind == Kind::kPng ? ".png" : ".bmp";
}

constexpr uid_t kNobody = 65534;

// A picture of noise: its PNG does not compress below a few kilobytes.
RgbImage Noise() {
    RgbImage picture(128, 128);
    std::mt19937 random(11);
    for (std::uint32_t& p : picture.pixels) p = 0xFF000000u | (random() & 0xFFFFFFu);
    return picture;
}

// Writes one kind of file at path, as the programs do.
Result<> Write(Kind kind, const std::string& path, DiskCalls* disk) {
    const std::string shown = FileNameOfPath(path);
    switch (kind) {
        case Kind::kDat: {
            TSpriteDocument doc;
            doc.NewDocument(64, 64, 3);
            doc.SetPixel(5, 5, 9);
            doc.Names().savePath = path;
            return SaveSpriteFile(doc, disk);
        }
        case Kind::kPng:
            return WritePngFile(Noise(), path, shown, 9,
                                {.links = LinkRule::kFollow, .disk = disk});
        case Kind::kTempBmp:
            return WriteBmpFile(Noise(), path, shown, {.links = LinkRule::kReplace, .disk = disk});
    }
    return {};
}

// The names in a folder, as bytes.
std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        ::closedir(dir);
    }
    return names;
}

struct stat Stat(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st;
}

// Full disks: a tmpfs of 256 KiB, filled up to 8 KiB from the top, or the writer's seam
// (disk_faults.h).

// One row's world: a folder, the path to write, and what must be there afterwards.
struct Scene {
    std::string folder;
    std::string path;     // what the programs are asked to write
    std::string checked;  // where the new bytes must land when the write works
    Bytes old = {'o', 'l', 'd', '\n'};
    bool oldKept = true;  // on failure the old bytes stay at `checked`
    DiskCalls* disk = nullptr;
    std::unique_ptr<DiskCalls> ownedDisk;
    bool asNobody = false;
    bool mounted = false;
    bool skip = false;
    std::function<void(Kind, const Scene&)> extra;  // further checks after a write that worked
};

struct Expect {
    bool ok;
    const char* message;  // "{}" stands for the file name; empty when ok
};

struct Row {
    const char* name;
    std::function<void(Scene&, Kind)> setup;
    Expect dat, png, temp;
};

Result<> RunAsNobody(const std::function<Result<>()>& write) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return Fail(Failure::kWriteFailed, "no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) std::_Exit(3);
        const Result<> result = write();
        const std::string report =
            (result.ok() ? "ok" : std::to_string(static_cast<int>(result.error().kind))) + "\n" +
            result.message();
        [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], report.data(), report.size());
        std::_Exit(0);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::size_t line = report.find('\n');
    if (line == std::string::npos) return Fail(Failure::kWriteFailed, "the child could not run");
    if (report.substr(0, line) == "ok") return {};
    return Fail(static_cast<Failure>(std::stoi(report.substr(0, line))), report.substr(line + 1));
}

bool MountSmallDisk(const std::string& folder) {
    return ::geteuid() == 0 && ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k") == 0;
}

// Fills a disk to within 8 KiB of full.
void FillUp(const std::string& folder) {
    const std::string filler = folder + "/filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0600);
    const std::vector<char> block(4096, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ASSERT_EQ(::ftruncate(fd, size - 8192), 0);
    ::close(fd);
}

std::string Shown(const char* message, const Scene& scene) {
    std::string text = message;
    const std::size_t at = text.find("{}");
    if (at != std::string::npos) text.replace(at, 2, FileNameOfPath(scene.path));
    return text;
}

const Row kRows[] = {
    {"a new file", [](Scene&, Kind) {}, {true, ""}, {true, ""}, {true, ""}},
    {"an old file is replaced whole",
     [](Scene& s, Kind) {
         WriteBytes(s.path, s.old);
         ::chmod(s.path.c_str(), 0640);
         s.extra = [](Kind, const Scene& sc) { EXPECT_EQ(Stat(sc.path).st_mode & 0777, 0640u); };
     },
     {true, ""},
     {true, ""},
     {true, ""}},
    {"the disk fills up in the middle",
     [](Scene& s, Kind) {
         s.mounted = MountSmallDisk(s.folder);
         s.path = s.checked = s.folder + "/" + FileNameOfPath(s.path);
         WriteBytes(s.path, s.old);
         if (s.mounted) {
             FillUp(s.folder);
         } else {
             s.ownedDisk = std::make_unique<FullDisk>(4000);
             s.disk = s.ownedDisk.get();
         }
     },
     {false, "Cannot write {}: No space left on device."},
     {false, "Cannot write {}: No space left on device."},
     {false, "Cannot write {}: No space left on device."}},
    {"the disk is found full only when the bytes are flushed",
     [](Scene& s, Kind) {
         WriteBytes(s.path, s.old);
         s.ownedDisk = std::make_unique<FailingFlush>(ENOSPC);
         s.disk = s.ownedDisk.get();
     },
     {false, "Cannot write {}: No space left on device."},
     {false, "Cannot write {}: No space left on device."},
     {false, "Cannot write {}: No space left on device."}},
    {"a folder that does not exist",
     [](Scene& s, Kind kind) { s.path = s.checked = s.folder + "/no/such/walk" + Suffix(kind); },
     {false, "Cannot create {}: No such file or directory."},
     {false, "Cannot create {}: No such file or directory."},
     {false, "Cannot create {}: No such file or directory."}},
    {"a file where a folder should be",
     [](Scene& s, Kind kind) {
         WriteBytes(s.folder + "/file", s.old);
         s.path = s.checked = s.folder + "/file/walk" + Suffix(kind);
     },
     {false, "Cannot create {}: Not a directory."},
     {false, "Cannot create {}: Not a directory."},
     {false, "Cannot create {}: Not a directory."}},
    {"a file its user may not write is not replaced, though the folder would allow it",
     [](Scene& s, Kind) {
         WriteBytes(s.path, s.old);
         ::chmod(s.path.c_str(), 0444);
         s.asNobody = ::geteuid() == 0;  // root may write it
     },
     {false, "Cannot create {}: Permission denied."},
     {false, "Cannot create {}: Permission denied."},
     {false, "Cannot create {}: Permission denied."}},
    {"a new file in a folder that refuses new files",
     [](Scene& s, Kind) {
         ::chmod(s.folder.c_str(), 0555);
         s.asNobody = ::geteuid() == 0;  // root may write into it
     },
     {false, "Cannot create {}: Permission denied."},
     {false, "Cannot create {}: Permission denied."},
     {false, "Cannot create {}: Permission denied."}},
    {"a folder that refuses new files, with a file that may be written: in place",
     [](Scene& s, Kind kind) {
         WriteBytes(s.path, s.old);
         if (::geteuid() == 0) {
             ASSERT_EQ(::chown(s.path.c_str(), kNobody, kNobody), 0);
             s.asNobody = true;
         }
         ::chmod(s.path.c_str(), 0644);
         ::chmod(s.folder.c_str(), 0555);
         const ino_t inode = Stat(s.path).st_ino;
         if (kind != Kind::kTempBmp) {
             s.extra = [inode](Kind, const Scene& sc) { EXPECT_EQ(Stat(sc.path).st_ino, inode); };
         }
     },
     {true, ""},
     {true, ""},
     {false, "Cannot create {}: Permission denied."}},
    {"a file with a second name: written in place, both names see it",
     [](Scene& s, Kind kind) {
         WriteBytes(s.path, s.old);
         ASSERT_EQ(::link(s.path.c_str(), (s.folder + "/other").c_str()), 0);
         s.extra = [kind](Kind, const Scene& sc) {
             const Bytes other = ReadBytes(sc.folder + "/other");
             if (kind == Kind::kTempBmp) {
                 EXPECT_EQ(other, sc.old) << "temp.bmp's name is replaced, the other file stays";
             } else {
                 EXPECT_EQ(other, ReadBytes(sc.path));
             }
         };
     },
     {true, ""},
     {true, ""},
     {true, ""}},
    {"another user's file: written in place, its owner keeps it",
     [](Scene& s, Kind kind) {
         if (::geteuid() != 0) {
             s.skip = true;
             return;
         }
         WriteBytes(s.path, s.old);
         ASSERT_EQ(::chown(s.path.c_str(), kNobody, kNobody), 0);
         ::chmod(s.path.c_str(), 0600);
         s.extra = [kind](Kind, const Scene& sc) {
             const struct stat st = Stat(sc.path);
             EXPECT_EQ(st.st_uid, kind == Kind::kTempBmp ? 0u : kNobody);
             if (kind != Kind::kTempBmp) {
                 EXPECT_EQ(st.st_mode & 0777, 0600u);
             }
         };
     },
     {true, ""},
     {true, ""},
     {true, ""}},
    {"a named pipe",
     [](Scene& s, Kind) {
         ASSERT_EQ(::mkfifo(s.path.c_str(), 0600), 0);
         s.oldKept = false;
     },
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {false, "Cannot create {}: it is a named pipe, not a regular file."}},
    // A device node of our own (the null device's numbers) where we may make one; otherwise a
    // link to /dev/null, which a faulty writer could only replace by a file, never the device.
    {"a device",
     [](Scene& s, Kind kind) {
         if (::mknod(s.path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
             s.skip = kind == Kind::kTempBmp;  // its link would be replaced, rightly
             fs::create_symlink("/dev/null", s.path);
         }
         s.oldKept = false;
     },
     {false, "Cannot create {}: it is a character device, not a regular file."},
     {false, "Cannot create {}: it is a character device, not a regular file."},
     {false, "Cannot create {}: it is a character device, not a regular file."}},
    {"a folder",
     [](Scene& s, Kind) {
         fs::create_directory(s.path);
         s.oldKept = false;
     },
     {false, "Cannot create {}: it is a folder, not a regular file."},
     {false, "Cannot create {}: it is a folder, not a regular file."},
     {false, "Cannot create {}: it is a folder, not a regular file."}},
    {"a link to a file: written through; temp.bmp replaces the link",
     [](Scene& s, Kind kind) {
         const std::string target = s.folder + "/target";
         WriteBytes(target, s.old);
         fs::create_symlink(target, s.path);
         s.checked = kind == Kind::kTempBmp ? s.path : target;
         s.extra = [kind, target](Kind, const Scene& sc) {
             EXPECT_EQ(fs::is_symlink(sc.path), kind != Kind::kTempBmp);
             if (kind == Kind::kTempBmp) {
                 EXPECT_EQ(ReadBytes(target), sc.old);
             }
         };
     },
     {true, ""},
     {true, ""},
     {true, ""}},
    {"a link to nothing: refused; temp.bmp replaces the link",
     [](Scene& s, Kind) {
         fs::create_symlink(s.folder + "/missing", s.path);
         s.oldKept = false;
         s.extra = [](Kind, const Scene& sc) { EXPECT_FALSE(fs::exists(sc.folder + "/missing")); };
     },
     {false, "Cannot create {}: it is a link to a file that does not exist."},
     {false, "Cannot create {}: it is a link to a file that does not exist."},
     {true, ""}},
    {"a link to a named pipe: refused; temp.bmp replaces the link",
     [](Scene& s, Kind) {
         ASSERT_EQ(::mkfifo((s.folder + "/pipe").c_str(), 0600), 0);
         fs::create_symlink(s.folder + "/pipe", s.path);
         s.oldKept = false;
     },
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {true, ""}},
    // realpath finds no file behind such a link ("pipe:[1234]"); the kernel follows it all the
    // same.
    {"a link through /proc to a pipe, as /dev/stdout into a pipe: refused as a pipe",
     [](Scene& s, Kind) {
         int fds[2];
         ASSERT_EQ(::pipe(fds), 0);
         // Both ends stay open while the test runs, so the link leads to a live pipe.
         fs::create_symlink("/proc/self/fd/" + std::to_string(fds[1]), s.path);
         s.oldKept = false;
     },
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {false, "Cannot create {}: it is a named pipe, not a regular file."},
     {true, ""}},
    {"a name of 255 bytes",
     [](Scene& s, Kind kind) {
         s.path = s.checked = s.folder + "/" + std::string(251, 'n') + Suffix(kind);
     },
     {true, ""},
     {true, ""},
     {true, ""}},
    {"a name that is not UTF-8 is written under exactly its bytes",
     [](Scene& s, Kind kind) {
         s.path = s.checked = s.folder + "/o\xfe" + Suffix(kind);
         s.extra = [kind](Kind, const Scene& sc) {
             EXPECT_EQ(Names(sc.folder).count(std::string("o\xfe") + Suffix(kind)), 1u);
         };
     },
     {true, ""},
     {true, ""},
     {true, ""}},
};

TEST(OutputFaults, EveryOutputUnderEveryCondition) {
    std::string skipped;
    for (const Row& row : kRows) {
        for (const Kind kind : kKinds) {
            const Expect expect = kind == Kind::kDat   ? row.dat
                                  : kind == Kind::kPng ? row.png
                                                       : row.temp;
            SCOPED_TRACE(std::string(row.name) + ", " + Suffix(kind));
            TempDir dir;
            Scene scene;
            scene.folder = dir.Path("work");
            fs::create_directory(scene.folder);
            ::chmod(scene.folder.c_str(), 0755);
            ::chmod(dir.Path("").c_str(), 0755);
            scene.path = scene.checked = scene.folder + "/walk" + Suffix(kind);
            row.setup(scene, kind);
            if (scene.skip) {
                skipped +=
                    std::string(skipped.empty() ? "" : "; ") + row.name + ", " + Suffix(kind);
                continue;
            }
            const std::set<std::string> before = Names(scene.folder);
            const bool hadOld = fs::exists(scene.checked);
            struct stat typeBefore {};
            ::lstat(scene.path.c_str(), &typeBefore);
            const Bytes old =
                hadOld && fs::is_regular_file(scene.checked) ? ReadBytes(scene.checked) : Bytes();

            const auto write = [&] { return Write(kind, scene.path, scene.disk); };
            const Result<> result = scene.asNobody ? RunAsNobody(write) : write();

            EXPECT_EQ(result.ok(), expect.ok) << result.message();
            EXPECT_EQ(result.message(), Shown(expect.message, scene));
            if (result.ok()) {
                // The bytes a write into a fresh file gives.
                TempDir fresh;
                ASSERT_TRUE(Write(kind, fresh.Path(std::string("f") + Suffix(kind)), nullptr).ok());
                EXPECT_EQ(ReadBytes(scene.checked),
                          ReadBytes(fresh.Path(std::string("f") + Suffix(kind))));
                if (scene.extra) scene.extra(kind, scene);
            } else {
                if (scene.oldKept && hadOld) {
                    EXPECT_EQ(ReadBytes(scene.checked), old) << "the old file is untouched";
                }
                struct stat typeAfter {};
                ::lstat(scene.path.c_str(), &typeAfter);
                EXPECT_EQ(typeAfter.st_mode & S_IFMT, typeBefore.st_mode & S_IFMT)
                    << "a refused path keeps its kind (pipe, device, folder, link)";
            }
            std::set<std::string> after = Names(scene.folder);
            after.erase(FileNameOfPath(scene.path));
            std::set<std::string> expected = before;
            expected.erase(FileNameOfPath(scene.path));
            EXPECT_EQ(after, expected) << "no stray file";
            ::chmod(scene.folder.c_str(), 0755);
            if (scene.mounted) ::umount(scene.folder.c_str());
        }
    }
    // Rows that need another user's rights (root's) did not run: not a pass.
    if (!skipped.empty()) GTEST_SKIP() << "not run as this user: " << skipped;
}

}  // namespace
