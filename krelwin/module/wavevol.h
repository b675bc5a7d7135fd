// WAVEVOL: the RIFF WAVE reader and per-frame level analyser behind UTTER; its header
// reader also serves FILECHECK. Plain C++: every read is bounded by the size given.
#pragma once

#include <cstdint>
#include <memory>

// What a WAVE file's header says. The data chunk's size is cut to the bytes the file
// holds, so a truncated recording is read as far as it goes.
struct WAVE_HEADER
{
    uint32_t uRiffSize;
    uint16_t wFormatTag;
    uint16_t wChannels;
    uint32_t uSampleRate;
    uint32_t uBytesPerSec;
    uint16_t wBlockAlign;
    uint16_t wBitsPerSample;
    uint32_t uFormatOffset; // first byte of the format chunk's body; 0 when none was found
    uint32_t uDataOffset;   // first byte of the samples
    uint32_t uDataSize;     // bytes of samples present
};

enum
{
    WAVE_READ_OK = 1,
    WAVE_READ_NOT_WAVE = 0,   // no "RIFF"/"WAVE" ids, or a format chunk under 16 bytes
    WAVE_READ_SHORT = -2      // the file ends before the chunks asked for
};

class WAVEVOL
{
public:
    // Level types of Convert.
    enum { TYPE_MEAN = 0, TYPE_PEAK = 1, TYPE_TWO_VALUED = 2, TYPE_COUNT = 3 };

    WAVEVOL();
    virtual ~WAVEVOL();
    WAVEVOL(const WAVEVOL&) = delete;
    WAVEVOL& operator=(const WAVEVOL&) = delete;

    // Little-endian numbers at _uPos of the _uSize bytes at _pData; 0 when they do not
    // lie wholly inside.
    static uint32_t read32(const unsigned char* _pData, uint32_t _uSize, uint32_t _uPos);
    static uint16_t read16(const unsigned char* _pData, uint32_t _uSize, uint32_t _uPos);

    // Reads the header of the _uSize bytes at _pData into *_pOut (zeroed first): the RIFF
    // header, then the chunks from the start up to the file's end: the first "fmt " chunk
    // and, with _iWantData, the first "data" chunk. A WAVE_READ_ result. A format chunk cut
    // by the file's end still gives the fields it holds (uFormatOffset set, WAVE_READ_SHORT).
    // After a chunk of odd size the next one starts past its pad byte, or right after the
    // body where the writer left the pad out: the place from which the chunks run on (ids of
    // printable bytes, bodies inside the file) to a chunk still looked for or the file's end.
    static int ReadHeader(const unsigned char* _pData, uint32_t _uSize, WAVE_HEADER* _pOut,
                          int _iWantData);
    // The format fields at the fixed places of the plain 44-byte header (channels at 22,
    // sample rate 24, bytes per second 28, block align 32, bits 34, RIFF size 4), whatever
    // the file holds there; a field the file ends in or before reads as 0. No ids are checked.
    static void ReadFixedHeader(const unsigned char* _pData, uint32_t _uSize, WAVE_HEADER* _pOut);

    // The frame levels of the WAVE file at _pPath, at 60 / _iFrameStep frames a second
    // (_iFrameStep 1-60). 0: bad step, unreadable file, a sample rate below the frame
    // rate, no memory, or an output smaller than needed; -1: not a WAVE file this reads
    // (no header, sample rate 0, no channels, samples other than 8 or 16 bits); with a
    // null output the bytes needed (type 2: one bit a frame), otherwise the frame count.
    int Convert(const wchar_t* _pPath, unsigned char* _pOut, int _iOutSize, int _iFrameStep,
                int _iPercent, int _iType);
    // The same over a file image in memory.
    int ConvertData(const unsigned char* _pData, uint32_t _uSize, unsigned char* _pOut,
                    int _iOutSize, int _iFrameStep, int _iPercent, int _iType);

    // Both sample buffers anew, m_iSamples zeroed doubles each; 0 when memory runs out.
    int AllocChannels();

    // The level of 8-bit and 16-bit audio on one scale, 0-128: an 8-bit sample counts as
    // its distance from 128, a 16-bit one as its magnitude / 256 (kept whole until the
    // last division, so a 16-bit file holding the 8-bit samples x 256 gives the same bytes).
    static int SampleScale(int _iBytesPerSample) { return _iBytesPerSample == 2 ? 256 : 1; }

    // The fields of the last file read.
    uint32_t m_uRiffSize;
    uint16_t m_wBlockAlign;
    uint16_t m_wBytesPerSample;
    uint32_t m_uBytesPerSec;
    uint16_t m_wChannels;
    uint32_t m_uSampleRate;
    uint16_t m_wBitsPerSample;
    int32_t m_iDataSize;
    int32_t m_iSamples;  // per channel
    std::unique_ptr<double[]> m_pChannel[2];
    int m_iAllocated;
    int m_iConverted;

private:
    int readSamples(const unsigned char* _pData, const WAVE_HEADER& _stHeader);
};
