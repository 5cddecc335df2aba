#include "app/core/FileMD5.h"

#include <cstring>

namespace
{
const int kBlockSize = 64;
const int kLengthOffset = 56;
const BYTE kPadByte = 0x80;
// The file is read through a buffer of this size and the message queue looked at once per this
// many bytes: often enough to keep the window alive, rarely enough to cost nothing.
const UINT kChunkSize = 64 * 1024;
const UINT64 kPumpInterval = 1024 * 1024;
const UINT32 kInitialState[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};

const WCHAR kNoMemory[] = L"The Memory is not enough !";
const WCHAR kNoFile[] = L"Have not assign a file !";
const WCHAR kCannotOpen[] = L"Can not open the file [ %s ] !";

// Per-step shift amounts and the sine-derived constants of RFC 1321.
const int kShifts[64] = {7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
                         14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
                         4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};
const UINT32 kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

UINT32 RotateLeft(UINT32 value, int count)
{
    return (value << count) | (value >> (32 - count));
}
} // namespace

void PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

FileMD5::FileMD5() : m_state{}, m_ok(0), m_byteCount(0)
{
}

FileMD5::~FileMD5() = default;

void FileMD5::Init()
{
    if (!m_block)
        m_block.reset(new (std::nothrow) BYTE[kBlockSize]);
    if (!m_block)
        Fail(kNoMemory);
    m_ok = 1;
    m_path.Empty();
    m_byteCount = 0;
    m_digest.Empty();
    std::memcpy(m_state, kInitialState, sizeof m_state);
}

void FileMD5::Fail(const CString& message)
{
    if (m_message.IsEmpty())
        m_message = message.Left(kMessageCapacity);
    m_ok = 0;
}

void FileMD5::Transform(const BYTE* block)
{
    UINT32 words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = UINT32(block[i * 4]) | UINT32(block[i * 4 + 1]) << 8 | UINT32(block[i * 4 + 2]) << 16 |
                   UINT32(block[i * 4 + 3]) << 24;
    UINT32 a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (int step = 0; step < 64; ++step)
    {
        UINT32 f;
        int g;
        if (step < 16)
        {
            f = (b & c) | (~b & d);
            g = step;
        }
        else if (step < 32)
        {
            f = (d & b) | (~d & c);
            g = (5 * step + 1) % 16;
        }
        else if (step < 48)
        {
            f = b ^ c ^ d;
            g = (3 * step + 5) % 16;
        }
        else
        {
            f = c ^ (b | ~d);
            g = (7 * step) % 16;
        }
        const UINT32 next = d;
        d = c;
        c = b;
        b = b + RotateLeft(a + f + kSines[step] + words[g], kShifts[step]);
        a = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

// Fills the block with up to 64 bytes from the file, through the chunk buffer.
void FileMD5::ReadBlock(CFile& file, BYTE* chunk, UINT& chunkFill, UINT& chunkPos, BYTE* block, UINT& got)
{
    got = 0;
    while (got < UINT(kBlockSize))
    {
        if (chunkPos == chunkFill)
        {
            chunkFill = file.Read(chunk, kChunkSize);
            chunkPos = 0;
            if (chunkFill == 0)
                break;
        }
        const UINT take = std::min(UINT(kBlockSize) - got, chunkFill - chunkPos);
        std::memcpy(block + got, chunk + chunkPos, take);
        got += take;
        chunkPos += take;
    }
}

void FileMD5::Compute(const CString& path)
{
    m_message.Empty();
    Init();
    if (!m_block)
    {
        m_ok = 0;
        return;
    }
    m_path = path;
    if (path.IsEmpty())
    {
        Fail(kNoFile);
        return;
    }
    CFile file;
    CString cannotOpen;
    cannotOpen.Format(kCannotOpen, path);
    if (path.GetLength() > kPathCapacity ||
        !file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
    {
        Fail(cannotOpen);
        return;
    }
    std::unique_ptr<BYTE[]> chunk(new (std::nothrow) BYTE[kChunkSize]);
    if (!chunk)
    {
        Fail(kNoMemory);
        return;
    }
    BYTE* block = m_block.get();
    UINT chunkFill = 0, chunkPos = 0;
    UINT64 nextPump = kPumpInterval;
    try
    {
        for (;;)
        {
            UINT got = 0;
            ReadBlock(file, chunk.get(), chunkFill, chunkPos, block, got);
            m_byteCount += got;
            if (got == UINT(kBlockSize))
            {
                Transform(block);
                if (m_byteCount >= nextPump)
                {
                    nextPump += kPumpInterval;
                    PumpPendingMessages();
                }
                continue;
            }
            // The last bytes, the pad byte and the bit count: one block, or two when the count
            // no longer fits behind the data.
            std::memset(block + got, 0, kBlockSize - got);
            block[got] = kPadByte;
            if (got >= UINT(kLengthOffset))
            {
                Transform(block);
                std::memset(block, 0, kBlockSize);
            }
            const UINT64 bits = m_byteCount * 8;
            for (int i = 0; i < 8; ++i)
                block[kLengthOffset + i] = BYTE(bits >> (8 * i));
            Transform(block);
            break;
        }
    }
    catch (CException* e)
    {
        e->Delete();
        Fail(cannotOpen);
        return;
    }
    for (UINT32 word : m_state)
        for (int i = 0; i < 4; ++i)
            m_digest.AppendFormat(L"%02x", unsigned(BYTE(word >> (8 * i))));
}
