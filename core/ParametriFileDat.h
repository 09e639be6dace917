#pragma once

#include <cstdint>
#include <cstdio>

#include "../platform/CArray.h"
#include "../platform/Export.h"

using ArrayInt = CArray<std::int32_t, const std::int32_t&>;

// The exam-level settings the projection file carries besides the axis steps.
class KORVANE_API CParametriFileDat {
public:
    CParametriFileDat();
    ~CParametriFileDat();
    CParametriFileDat(const CParametriFileDat&) = default;
    CParametriFileDat& operator=(const CParametriFileDat& altro);
    int operator==(const CParametriFileDat& altro) const;

    int SalvaFileTRG(FILE* f);
    int CaricaFileTRG(FILE* f);

    std::int32_t Group;
    std::int32_t Type;
    std::int32_t Version;
    std::int32_t TFCanUpdate;
    std::int32_t TMCanUpdate;
    std::int32_t YCanMove;
    std::int32_t CephPatientPos;
    std::int32_t PanKeybPos;
    std::int32_t CephArmPos;
    std::int32_t BiteBlockConf;
    std::int32_t ApsRangeMin;
    std::int32_t ApsRangeMax;
    std::int32_t YAxisCorrLen;
    std::int32_t YAxisCorrMin;
    std::int32_t YAxisCorrMax;
    std::int32_t YAxisOpenMouth;
    std::int32_t XAxisCorrFact;
    std::int32_t PrmCollimOffset1;
    std::int32_t PrmCollimOffset2;
    std::int32_t ScnCollimOffset;
    std::int32_t ScoutKV;
    std::int32_t ScoutMA;
    std::int32_t ScoutCollMin;
    std::int32_t ScoutCollMax;
    ArrayInt LRImgNote;
    ArrayInt PxMarginsTop;
    ArrayInt PxMarginsBottom;
    ArrayInt PxMarginsRight;
    ArrayInt PxMarginsLeft;
    ArrayInt PxMarginsTopC;
    ArrayInt PxMarginsBottomC;
    ArrayInt PxMarginsRightC;
    ArrayInt PxMarginsLeftC;
    float PosResetX;
    float PosResetY;
    float PosResetR;
    float PosResetH;
    float PosUscitaX;
    float PosUscitaY;
    float PosUscitaR;
    float PosUscitaH;
};
