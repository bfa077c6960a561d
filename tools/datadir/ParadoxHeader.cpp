#include "tools/datadir/ParadoxHeader.h"

#include <vector>

namespace velmora::datadir::paradox {

namespace {

// Offsets in the header (little-endian numbers).
constexpr int offRecordSize = 0x00;
constexpr int offHeaderSize = 0x02;
constexpr int offFileType = 0x04;
constexpr int offMaxTableSize = 0x05;
constexpr int offRecords = 0x06;
constexpr int offFileBlocks = 0x0C;
constexpr int offFirstBlock = 0x0E;
constexpr int offFieldCount = 0x21;
constexpr int offEncryption = 0x25;
constexpr int offEncryption2 = 0x5C; // in the data header of versions 4 and later
constexpr int offVersion = 0x39;
constexpr int commonHeaderEnd = 0x58; // field list of versions 3.x
constexpr int dataHeaderEnd = 0x78;   // field list of versions 4 and later
constexpr int blockHeaderSize = 6;    // next block, previous block, last record offset

class Bytes final {
public:
    explicit Bytes(const QByteArray& data) : data_(data) {}
    qsizetype size() const { return data_.size(); }
    int u8(qsizetype at) const { return static_cast<unsigned char>(data_[at]); }
    int u16(qsizetype at) const { return u8(at) | (u8(at + 1) << 8); }
    int s16(qsizetype at) const { return static_cast<short>(u16(at)); }
    unsigned u32(qsizetype at) const { return unsigned(u16(at)) | (unsigned(u16(at + 2)) << 16); }
    bool has(qsizetype at, qsizetype count) const { return at >= 0 && at + count <= size(); }

private:
    const QByteArray& data_;
};

constexpr int Bcd = 0x17;
constexpr int bcdSize = 17;

bool knownType(int type, int size) {
    switch (type) {
    case Alpha:
        return size >= 1 && size <= 255;
    case Date:
    case Long:
    case AutoInc:
        return size == 4;
    case Short:
        return size == 2;
    case Currency:
    case Number:
        return size == 8;
    case Logical:
        return size == 1;
    case Bcd:
        return size <= 32;
    default:
        // Other types (memo, blob, time, BCD, bytes...) are read as nothing but must
        // still have a size for the record layout to add up.
        return size >= 1 && size <= 255;
    }
}

QString readFields(const Bytes& b, Layout& l, int count) {
    const int infoStart = l.version >= 5 ? dataHeaderEnd : commonHeaderEnd;
    if (!b.has(infoStart, count * 2) || infoStart + count * 2 > l.headerSize)
        return QStringLiteral("cabeçalho curto demais para %1 campos").arg(count);
    int sum = 0;
    for (int i = 0; i < count; ++i) {
        Field f;
        f.type = static_cast<unsigned char>(b.u8(infoStart + 2 * i));
        f.size = b.u8(infoStart + 2 * i + 1);
        if (!knownType(f.type, f.size))
            return QStringLiteral("campo %1 com tipo %2 e tamanho %3 inválidos")
                .arg(i + 1)
                .arg(f.type)
                .arg(f.size);
        if (f.type == Bcd)
            f.size = bcdSize; // its size byte holds the number of decimals
        sum += f.size;
        l.fields.append(f);
    }
    if (sum != l.recordSize)
        return QStringLiteral("os campos somam %1 bytes, mas o registro tem %2")
            .arg(sum)
            .arg(l.recordSize);
    return QString();
}

// After the field list: the table name pointer, one pointer per field, the table
// name, then the field names, each ended by a zero byte.
QString readNames(const QByteArray& data, Layout& l) {
    const int infoStart = l.version >= 5 ? dataHeaderEnd : commonHeaderEnd;
    const int count = int(l.fields.size());
    const int tableNameSize = l.version >= 12 ? 261 : 79;
    const qsizetype tableName = infoStart + count * 2 + 4 + count * 4;
    if (tableName + tableNameSize > l.headerSize ||
        data.indexOf('\0', tableName) >= tableName + tableNameSize ||
        data.indexOf('\0', tableName) < 0)
        return QStringLiteral("nome da tabela ilegível");
    qsizetype at = tableName + tableNameSize;
    for (Field& f : l.fields) {
        const qsizetype end = data.indexOf('\0', at);
        if (at >= l.headerSize || end < 0 || end >= l.headerSize)
            return QStringLiteral("nomes dos campos fora do cabeçalho");
        f.name = data.mid(at, end - at);
        if (f.name.isEmpty())
            return QStringLiteral("campo sem nome");
        at = end + 1;
    }
    return QString();
}

// Walks the data blocks from the first one by their next-block links.
QString walkBlocks(const Bytes& b, const Layout& l, int fileBlocks, int firstBlock) {
    std::vector<bool> seen(static_cast<size_t>(fileBlocks) + 1, false);
    long long records = 0;
    for (int block = firstBlock; block != 0;) {
        if (block < 1 || block > fileBlocks)
            return QStringLiteral("bloco %1 fora do arquivo (há %2)").arg(block).arg(fileBlocks);
        if (seen[static_cast<size_t>(block)])
            return QStringLiteral("a cadeia de blocos volta ao bloco %1").arg(block);
        seen[static_cast<size_t>(block)] = true;
        const qsizetype at = l.headerSize + qsizetype(block - 1) * l.blockSize;
        const int next = b.u16(at);
        const int lastOffset = b.s16(at + 4);
        // lastOffset is the offset of the block's last record: -recordSize when empty.
        if (lastOffset < -l.recordSize || (lastOffset + l.recordSize) % l.recordSize != 0 ||
            blockHeaderSize + lastOffset + l.recordSize > l.blockSize)
            return QStringLiteral("bloco %1 danificado").arg(block);
        records += (lastOffset + l.recordSize) / l.recordSize;
        block = next;
    }
    if (records != l.records)
        return QStringLiteral("o cabeçalho diz %1 registros, os blocos têm %2")
            .arg(l.records)
            .arg(records);
    return QString();
}

} // namespace

QString check(const QByteArray& data, Layout* layout) {
    const Bytes b(data);
    if (data.isEmpty())
        return QStringLiteral("arquivo vazio");
    if (data.size() < commonHeaderEnd)
        return QStringLiteral("arquivo curto demais para uma tabela Paradox");
    Layout l;
    l.version = b.u8(offVersion);
    const int fileType = b.u8(offFileType);
    if ((fileType != 0 && fileType != 2) || l.version < 3 || l.version > 12)
        return QStringLiteral("não é uma tabela Paradox (cabeçalho desconhecido)");
    l.recordSize = b.u16(offRecordSize);
    l.headerSize = b.u16(offHeaderSize);
    const int maxTableSize = b.u8(offMaxTableSize);
    if (maxTableSize < 1 || maxTableSize > 32 || (maxTableSize > 4 && maxTableSize % 8 != 0))
        return QStringLiteral("tamanho de bloco inválido (%1)").arg(maxTableSize);
    l.blockSize = maxTableSize * 1024;
    if (l.recordSize < 1 || l.recordSize + blockHeaderSize > l.blockSize)
        return QStringLiteral("tamanho de registro inválido (%1)").arg(l.recordSize);
    if (l.headerSize < commonHeaderEnd)
        return QStringLiteral("tamanho de cabeçalho inválido (%1)").arg(l.headerSize);
    if (l.headerSize > data.size())
        return QStringLiteral("arquivo truncado: termina dentro do cabeçalho");
    const int count = b.u16(offFieldCount);
    if (count < 1 || count > 255)
        return QStringLiteral("número de campos inválido (%1)").arg(count);
    if (QString reason = readFields(b, l, count); !reason.isEmpty())
        return reason;
    if (QString reason = readNames(data, l); !reason.isEmpty())
        return reason;
    // Password-protected tables are refused: their blocks would only be garbage.
    const unsigned encryption = b.u32(offEncryption);
    if (encryption == 0xFF00FF00u ? l.version < 5 || b.u32(offEncryption2) != 0 : encryption != 0)
        return QStringLiteral("tabela protegida por senha; tire a senha no Paradox antes");
    const long long records = b.u32(offRecords);
    const int fileBlocks = b.u16(offFileBlocks);
    if (records > 0x7fffffff)
        return QStringLiteral("número de registros inválido");
    l.records = int(records);
    if (qsizetype(l.headerSize) + qsizetype(fileBlocks) * l.blockSize > data.size())
        return QStringLiteral("arquivo truncado: o cabeçalho anuncia %1 blocos de %2 bytes")
            .arg(fileBlocks)
            .arg(l.blockSize);
    if (QString reason = walkBlocks(b, l, fileBlocks, b.u16(offFirstBlock)); !reason.isEmpty())
        return reason;
    if (layout)
        *layout = l;
    return QString();
}

} // namespace velmora::datadir::paradox
