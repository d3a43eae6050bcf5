// The run loop's unit kinds after the decoded Loop, in the order of their
// kinds (emulator/predecoded.h): M(label, the call that runs the unit, the
// step after it). The loop makes its handler table and its handlers from
// this one list; the call and the steps are expanded inside the loop.
#pragma once

// clang-format off
#define ZR_FUSED_STEP(shape) \
    if constexpr (FusedShapeJumps(shape)) { ZR_CONTINUE } else { ZR_NEXT }
#define ZR_FUSED_UNIT(M, shape, place, integers)                                              \
    M(fused_##shape##_##place##_##integers,                                                   \
      (RunFused<kFusedOperationCodes[place], shape, integers>(r, *d)), ZR_FUSED_STEP(shape))
#define ZR_FUSED_CHOICES_2(M, shape, place) \
    ZR_FUSED_UNIT(M, shape, place, 0) ZR_FUSED_UNIT(M, shape, place, 1)
#define ZR_FUSED_CHOICES_4(M, shape, place)                                \
    ZR_FUSED_CHOICES_2(M, shape, place) ZR_FUSED_UNIT(M, shape, place, 2) \
    ZR_FUSED_UNIT(M, shape, place, 3)
#define ZR_FUSED_PLACES(M, shape, choices)                                             \
    choices(M, shape, 0) choices(M, shape, 1) choices(M, shape, 2) choices(M, shape, 3) \
    choices(M, shape, 4) choices(M, shape, 5) choices(M, shape, 6) choices(M, shape, 7) \
    choices(M, shape, 8) choices(M, shape, 9) choices(M, shape, 10)
#define ZR_FUSED_KINDS(M)                                                      \
    ZR_FUSED_PLACES(M, 0, ZR_FUSED_CHOICES_2) ZR_FUSED_PLACES(M, 1, ZR_FUSED_CHOICES_4) \
    ZR_FUSED_PLACES(M, 2, ZR_FUSED_CHOICES_2) ZR_FUSED_PLACES(M, 3, ZR_FUSED_CHOICES_4) \
    ZR_FUSED_PLACES(M, 4, ZR_FUSED_CHOICES_2) ZR_FUSED_PLACES(M, 5, ZR_FUSED_CHOICES_4) \
    ZR_FUSED_PLACES(M, 6, ZR_FUSED_CHOICES_2) ZR_FUSED_PLACES(M, 7, ZR_FUSED_CHOICES_4)

#define ZR_CHAIN_UNIT(M, tail, integers, step) \
    M(chain_##tail##_##integers, (RunChain<tail, integers>(r, *d)), step)
#define ZR_CHAIN_CHOICES(M, tail, step)                                            \
    ZR_CHAIN_UNIT(M, tail, 0, step) ZR_CHAIN_UNIT(M, tail, 1, step)                \
    ZR_CHAIN_UNIT(M, tail, 2, step) ZR_CHAIN_UNIT(M, tail, 3, step)

#define ZR_UNIT_KINDS(M)                                                      \
    M(elementLoad_0, (RunElement<true, 0>(r, *d)), ZR_NEXT)                   \
    M(elementLoad_1, (RunElement<true, 1>(r, *d)), ZR_NEXT)                   \
    M(elementStore_0, (RunElement<false, 0>(r, *d)), ZR_NEXT)                 \
    M(elementStore_1, (RunElement<false, 1>(r, *d)), ZR_NEXT)                 \
    M(zeroCompareSkip_0, (RunZeroCompareSkip<0>(r, *d)), ZR_CONTINUE)         \
    M(zeroCompareSkip_1, (RunZeroCompareSkip<1>(r, *d)), ZR_CONTINUE)         \
    M(zeroCompareSkip_2, (RunZeroCompareSkip<2>(r, *d)), ZR_CONTINUE)         \
    M(zeroCompareSkip_3, (RunZeroCompareSkip<3>(r, *d)), ZR_CONTINUE)         \
    M(zeroCompareSkip_4, (RunZeroCompareSkip<4>(r, *d)), ZR_CONTINUE)         \
    M(zeroCompareSkip_5, (RunZeroCompareSkip<5>(r, *d)), ZR_CONTINUE)         \
    M(bump_0, (RunBump<0>(r, *d)), ZR_NEXT)                                   \
    M(bump_1, (RunBump<1>(r, *d)), ZR_NEXT)                                   \
    M(bump_2, (RunBump<2>(r, *d)), ZR_NEXT)                                   \
    M(bump_3, (RunBump<3>(r, *d)), ZR_NEXT)                                   \
    ZR_FUSED_KINDS(M)                                                         \
    ZR_CHAIN_CHOICES(M, 0, ZR_NEXT) ZR_CHAIN_CHOICES(M, 1, ZR_CONTINUE)       \
    ZR_CHAIN_CHOICES(M, 2, ZR_CONTINUE) ZR_CHAIN_CHOICES(M, 3, ZR_NEXT)
// clang-format on
