#include "streampieces.h"

#include "files.h"


namespace controls {

namespace {

class PieceNormalizer {
public:
    explicit PieceNormalizer(QByteArray &out) : m_out(out) {}

    void piece(const char *data, qint64 size)
    {
        for (qint64 i = 0; i < size; ++i) {
            const char c = data[i];
            // A zero byte is no text; dropping it keeps whatever follows.
            if (c == '\0')
                continue;
            if (m_pendingCR) {
                m_pendingCR = false;
                m_out.append("\r\n", 2);
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                if (i + 1 < size) {
                    m_out.append("\r\n", 2);
                    if (data[i + 1] == '\n')
                        ++i;
                } else {
                    m_pendingCR = true;
                }
            } else if (c == '\n') {
                m_out.append("\r\n", 2);
            } else {
                m_out.append(c);
            }
        }
    }

    void finish()
    {
        if (m_pendingCR)
            m_out.append("\r\n", 2);
        m_pendingCR = false;
    }

private:
    QByteArray &m_out;
    bool m_pendingCR = false;
};

} // namespace

bool ReadAll(platform::InputFile &file, QByteArray &out)
{
    QByteArray buffer(kReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        out.append(buffer.constData(), got);
    }
}

bool ReadNormalizedPieces(platform::InputFile &file, QByteArray &out, qint64 requestSize)
{
    const qint64 pieceSize = qMax<qint64>(1, requestSize / 2);
    QByteArray buffer(pieceSize, Qt::Uninitialized);
    PieceNormalizer normalizer(out);
    for (;;) {
        const qint64 got = file.read(buffer.data(), pieceSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        normalizer.piece(buffer.constData(), got);
    }
    normalizer.finish();
    return true;
}

QByteArray NormalizePieces(const QByteArray &bytes, qint64 requestSize)
{
    const qint64 pieceSize = qMax<qint64>(1, requestSize / 2);
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16);
    PieceNormalizer normalizer(out);
    for (qint64 pos = 0; pos < bytes.size(); pos += pieceSize)
        normalizer.piece(bytes.constData() + pos, qMin(pieceSize, bytes.size() - pos));
    normalizer.finish();
    return out;
}

} // namespace controls
