#include "krelwin/module/fitparts_search.h"

#include <cmath>
#include <vector>

#include "kelto/tools/busy.h"

namespace {

// Scores by the sum of the three byte differences (0 to 765).
struct FIT_TABLE
{
    float afScore[766];
    FIT_TABLE()
    {
        for (int d = 0; d <= 765; ++d) afScore[d] = static_cast<float>((765 - d) / 765.0);
    }
};
const FIT_TABLE s_cTable;

inline int fit_diff(uint32_t _uA, uint32_t _uB)
{
    const int iB = static_cast<int>(_uA & 0xFF) - static_cast<int>(_uB & 0xFF);
    const int iG = static_cast<int>((_uA >> 8) & 0xFF) - static_cast<int>((_uB >> 8) & 0xFF);
    const int iR = static_cast<int>((_uA >> 16) & 0xFF) - static_cast<int>((_uB >> 16) & 0xFF);
    return (iB < 0 ? -iB : iB) + (iG < 0 ? -iG : iG) + (iR < 0 ? -iR : iR);
}

inline float fit_score(uint32_t _uPart, uint32_t _uBase)
{
    return _uPart == _uBase ? 1.0f : s_cTable.afScore[fit_diff(_uPart, _uBase)];
}

} // namespace

float FITPARTS_PixelScore(uint32_t _uPart, uint32_t _uBase)
{
    return fit_score(_uPart, _uBase);
}

float FITPARTS_Total(const FITPARTS_IMAGE& _stPart, uint32_t _uTransparent)
{
    float fTotal = 0;
    const long long llCount = static_cast<long long>(_stPart.iWidth) * _stPart.iHeight;
    for (long long i = 0; i < llCount; ++i) {
        if (_stPart.pPixel[i] != _uTransparent) fTotal += 1.0f;
    }
    return fTotal;
}

float FITPARTS_ScoreAt(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart, int _iX, int _iY)
{
    float fScore = 0;
    for (int r = 0; r < _stPart.iHeight; ++r) {
        const uint32_t* pBase = _stBase.pPixel + static_cast<size_t>(_iY + r) * _stBase.iWidth + _iX;
        const uint32_t* pPart = _stPart.pPixel + static_cast<size_t>(r) * _stPart.iWidth;
        for (int c = 0; c < _stPart.iWidth; ++c) fScore += fit_score(pPart[c], pBase[c]);
    }
    return fScore;
}

FITPARTS_RESULT FITPARTS_SearchPlain(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart,
                                     uint32_t _uTransparent, int _iPrune, int _iThreshold)
{
    FITPARTS_RESULT stResult = {0, 0, 0.0f, FITPARTS_Total(_stPart, _uTransparent)};
    const int iPw = _stPart.iWidth, iPh = _stPart.iHeight;
    const float fCut = static_cast<float>(iPw * (_iThreshold / 100));
    for (int y0 = 0; y0 < _stBase.iHeight - iPh; ++y0) {
        for (int x0 = 0; x0 < _stBase.iWidth - iPw; ++x0) {
            BUSY_poll();
            float fScore = 0;
            for (int r = 0; r < iPh; ++r) {
                const uint32_t* pBase = _stBase.pPixel + static_cast<size_t>(y0 + r) * _stBase.iWidth + x0;
                const uint32_t* pPart = _stPart.pPixel + static_cast<size_t>(r) * iPw;
                for (int c = 0; c < iPw; ++c) {
                    if (pPart[c] != _uTransparent) fScore += fit_score(pPart[c], pBase[c]);
                }
                // The score only grows, so a place that passes after its first row always does.
                if (r == 0 && _iPrune == 1 && fCut > fScore) break;
            }
            if (fScore > stResult.fBest) {
                stResult.fBest = fScore;
                stResult.iX = x0;
                stResult.iY = y0;
                if (stResult.fBest >= stResult.fTotal) return stResult;
            }
        }
    }
    return stResult;
}

// Leaving places out without changing the result: every pixel score is at most 1, and each
// single-precision addition of a score to a sum below 2N rounds up by at most half a unit
// of the last place there (h). So a place whose sum after j of its N pixels is s can end at
// no more than s + (N - j)(1 + h): once that bound cannot beat what the place must beat, the
// place is dropped.
//
// First the first place where every non-transparent pixel matches exactly is looked for:
// its score is the total, so the search ends there at the latest, and an earlier place
// matters only when it reaches the total too. Without such a place, the place that scores
// best on a sample of the pixels is scored whole: the winner scores at least that much. Then
// every place is scored in order, dropped once it can reach neither that score nor more than
// the best so far.
FITPARTS_RESULT FITPARTS_Search(const FITPARTS_IMAGE& _stBase, const FITPARTS_IMAGE& _stPart,
                                uint32_t _uTransparent, int _iPrune, int _iThreshold)
{
    const int iPw = _stPart.iWidth, iPh = _stPart.iHeight;
    const int iNx = _stBase.iWidth - iPw, iNy = _stBase.iHeight - iPh;
    // The first-row cut changes which places are scored whole: only the plain search has it.
    if (_iPrune == 1 && iPw * (_iThreshold / 100) > 0) {
        return FITPARTS_SearchPlain(_stBase, _stPart, _uTransparent, _iPrune, _iThreshold);
    }
    FITPARTS_RESULT stResult = {0, 0, 0.0f, FITPARTS_Total(_stPart, _uTransparent)};
    if (iNx <= 0 || iNy <= 0 || iPw <= 0 || iPh <= 0) return stResult;

    // The non-transparent pixels in row order, with their offsets in the base.
    std::vector<uint32_t> vValue;
    std::vector<int> vOffset;
    for (int r = 0; r < iPh; ++r) {
        for (int c = 0; c < iPw; ++c) {
            const uint32_t u = _stPart.pPixel[static_cast<size_t>(r) * iPw + c];
            if (u == _uTransparent) continue;
            vValue.push_back(u);
            vOffset.push_back(r * _stBase.iWidth + c);
        }
    }
    const int iN = static_cast<int>(vValue.size());
    // Past 2^24 pixels a float no longer counts them exactly; nothing is left out there.
    if (iN == 0 || iN >= (1 << 24)) {
        return FITPARTS_SearchPlain(_stBase, _stPart, _uTransparent, _iPrune, _iThreshold);
    }
    int iExp = 0;
    std::frexp(2.0 * iN, &iExp);
    const double dStep = 1.0 + std::ldexp(1.0, iExp - 25);
    const double dSlack = 1e-6;
    const uint32_t* pValue = vValue.data();
    const int* pOffset = vOffset.data();
    const uint32_t* pBase = _stBase.pPixel;
    const int iBaseWidth = _stBase.iWidth;

    // Step 1: the first exact place.
    long long llExact = -1;
    for (int y0 = 0; y0 < iNy && llExact < 0; ++y0) {
        for (int x0 = 0; x0 < iNx; ++x0) {
            BUSY_poll();
            const uint32_t* pAt = pBase + static_cast<size_t>(y0) * iBaseWidth + x0;
            int j = 0;
            while (j < iN && ((pValue[j] ^ pAt[pOffset[j]]) & 0xFFFFFFu) == 0) ++j;
            if (j == iN) {
                llExact = static_cast<long long>(y0) * iNx + x0;
                break;
            }
        }
    }

    // Without one, a place scored on a sample of the pixels gives a score to beat: the first
    // place with the highest score can score no less than it.
    const float fTotal = stResult.fTotal;
    double dNeed = fTotal;
    if (llExact < 0) {
        const int iEvery = iN / 64 > 1 ? iN / 64 : 1;
        float fSampleBest = -1;
        long long llCandidate = 0;
        for (int y0 = 0; y0 < iNy; ++y0) {
            for (int x0 = 0; x0 < iNx; ++x0) {
                BUSY_poll();
                const uint32_t* pAt = pBase + static_cast<size_t>(y0) * iBaseWidth + x0;
                float fSample = 0;
                for (int j = 0; j < iN; j += iEvery) fSample += fit_score(pValue[j], pAt[pOffset[j]]);
                if (fSample > fSampleBest) {
                    fSampleBest = fSample;
                    llCandidate = static_cast<long long>(y0) * iNx + x0;
                }
            }
        }
        const uint32_t* pAt = pBase + static_cast<size_t>(llCandidate / iNx) * iBaseWidth + llCandidate % iNx;
        float fScore = 0;
        for (int j = 0; j < iN; ++j) fScore += fit_score(pValue[j], pAt[pOffset[j]]);
        if (fScore < fTotal) dNeed = fScore;
    }

    // Step 2: the places in order (up to the exact one), each dropped once its bound falls
    // below what it must reach (the total before an exact place, else the candidate's score)
    // or no longer beats the best so far. As s - j * step against two limits.
    const long long llEnd = llExact >= 0 ? llExact + 1 : static_cast<long long>(iNx) * iNy;
    const double dLimitNeed = dNeed - iN * dStep - dSlack;
    double dLimitBest = -iN * dStep - dSlack;
    for (long long llPos = 0; llPos < llEnd; ++llPos) {
        BUSY_poll();
        const int y0 = static_cast<int>(llPos / iNx), x0 = static_cast<int>(llPos % iNx);
        const uint32_t* pAt = pBase + static_cast<size_t>(y0) * iBaseWidth + x0;
        float fScore = 0;
        bool bDropped = false;
        if (llPos != llExact) {
            for (int j = 0; j < iN; ++j) {
                fScore += fit_score(pValue[j], pAt[pOffset[j]]);
                const double dLow = static_cast<double>(fScore) - (j + 1) * dStep;
                if (dLow < dLimitNeed || dLow <= dLimitBest) {
                    bDropped = true;
                    break;
                }
            }
        } else {
            for (int j = 0; j < iN; ++j) fScore += fit_score(pValue[j], pAt[pOffset[j]]);
        }
        if (bDropped) continue;
        if (fScore > stResult.fBest) {
            stResult.fBest = fScore;
            stResult.iX = x0;
            stResult.iY = y0;
            if (stResult.fBest >= fTotal) return stResult;
            dLimitBest = static_cast<double>(fScore) - iN * dStep - dSlack;
        }
    }
    return stResult;
}
