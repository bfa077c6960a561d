#include "core/Pictures.h"

namespace velmora {

// The cache of decoded, box-sized pictures, most recently used first.

void Pictures::remember(const QString& key, const QImage& image) {
    if (image.sizeInBytes() > limit_)
        return;
    entries_.push_front({key, image});
    index_.insert(key, entries_.begin());
    bytes_ += image.sizeInBytes();
    trim();
}

void Pictures::trim() {
    while (bytes_ > limit_ && !entries_.empty()) {
        bytes_ -= entries_.back().image.sizeInBytes();
        index_.remove(entries_.back().key);
        entries_.pop_back();
    }
}

void Pictures::clearCache() {
    entries_.clear();
    index_.clear();
    bytes_ = 0;
}

int Pictures::cacheSize() const {
    return int(entries_.size());
}

qint64 Pictures::cacheBytes() const {
    return bytes_;
}

void Pictures::setCacheLimit(qint64 bytes) {
    limit_ = qMax<qint64>(0, bytes);
    trim();
}

} // namespace velmora
