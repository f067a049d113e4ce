#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Score sheets repeat a few short texts (scores, years, classes, grades)
// thousands of times: cells share one copy of each instead of allocating
// their own. A small direct-mapped table keyed by the packed characters keeps
// the lookup cheaper than the allocation it saves. A cell edited later gets
// its own copy, as any QString does.
class SharedTexts
{
public:
    // The returned reference stays valid until the next call.
    const QString &get(QStringView field)
    {
        if (field.size() > 4) {
            scratch_ = field.toString();
            return scratch_;
        }
        quint64 key = 0;
        for (const QChar c : field)
            key = key << 16 | c.unicode();
        const int size = int(field.size());
        Slot &slot = slots_[size_t(((key ^ quint64(size)) * 0x9E3779B97F4A7C15ULL) >> (64 - kBits))];
        if (slot.size != size || slot.key != key) {
            slot.key = key;
            slot.size = size;
            slot.text = field.toString();
        }
        return slot.text;
    }

private:
    static constexpr int kBits = 12;
    struct Slot {
        quint64 key = 0;
        int size = -1;  // unused
        QString text;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(size_t(1) << kBits);
    QString scratch_;
};
