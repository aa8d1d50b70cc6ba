#pragma once
// The .dat file: three header bytes (width, height, cel count) followed by every cel, exactly the
// document buffer. No magic number, no trailer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_writer.h"

class TSpriteDocument;
struct DocumentNames;

// Why a whole file image is not a sprite file the editor accepts, as the part of a message after
// the colon ("its width 0 is outside 1 to 64"); empty when it is one.
std::string SpriteImageProblem(const std::uint8_t* bytes, std::size_t size);

// Checks a whole file image: nothing when it is a sprite file the editor accepts, otherwise
// kNotUsable, e.g. "walk.dat is not a sprite file: its width 0 is outside 1 to 64."
Result<> CheckSpriteImage(const std::uint8_t* bytes, std::size_t size, std::string_view shown);

// Reads the file at path into the document. A file that cannot be read (kCannotOpen) or is not a
// sprite file (kNotUsable; a named pipe or a device included: they are never waited for) changes
// nothing: not the pixels, not the names, not the modified flag. On success the save path is the
// given path, the export name is empty and the document name is derived from the path. Messages
// name the file as shown gives it; without shown, by its file name.
Result<> LoadSpriteFile(TSpriteDocument& doc, const std::string& path);
Result<> LoadSpriteFile(TSpriteDocument& doc, const std::string& path, std::string_view shown);

// The second half of LoadSpriteFile: takes the bytes read from the file at path. Bytes past the
// cels need not be colour indices; those that are not reach the document as 0.
Result<> LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                         const std::string& path);
Result<> LoadSpriteBytes(TSpriteDocument& doc, const std::uint8_t* bytes, std::size_t size,
                         const std::string& path, std::string_view shown);

// Writes header and cels to the document's save path through WriteFile (disk: the calls it makes,
// RealDisk() when null); on success clears the modified flag and stamps the names with the file
// written, as a load does.
Result<> SaveSpriteFile(TSpriteDocument& doc, DiskCalls* disk = nullptr);

// Whether the file at the save path is no longer the one the last Open or save left there (another
// program wrote it). A file that is gone has lost nothing to a save, and a document without a stamp
// has nothing to compare.
bool ChangedOnDisk(const DocumentNames& names);

// The document name of a path: the file name without its last extension. "/home/ann/walk.old.dat"
// gives "walk.old", "/home/ann/my.dir/walk" gives "walk", "/tmp/.dat" gives "".
std::string DocumentNameFromPath(std::string_view path);

// The last component of a path, for messages: "/home/ann/walk.dat" gives "walk.dat".
std::string FileNameOfPath(std::string_view path);
