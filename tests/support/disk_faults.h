#pragma once
// Disks that fail, for the file writer's seam (DiskCalls): one that fills up after a number of
// bytes, one whose flush to the disk fails.

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include "base/file_writer.h"

// Fails every write after `budget` bytes with ENOSPC, as a full disk does.
class FullDisk : public DiskCalls {
  public:
    explicit FullDisk(std::size_t budget) : budget_(budget) {}
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (budget_ == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t n = std::min(size, budget_);
        budget_ -= n;
        return DiskCalls::Write(fd, data, n);
    }

  private:
    std::size_t budget_;
};

// Takes every byte, then fails the flush with the given error, as a disk that reports a problem
// only when the bytes must reach it.
class FailingFlush : public DiskCalls {
  public:
    explicit FailingFlush(int error) : error_(error) {}
    int Flush(int) override {
        errno = error_;
        return -1;
    }

  private:
    int error_;
};
