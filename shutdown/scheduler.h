#pragma once
#include "app/program.h"

namespace xiuhe {

void ArmShutdown(Program& program);     // click of 图形按钮_立即启用
void CancelShutdown(Program& program);  // click of 图形按钮_取消关机
void CountdownTick(Program& program);   // periodic event of 时钟_定时关机短
void WaitTick(Program& program);        // periodic event of 时钟_定时关机长

// The exit hook: releases the captured hour and minute texts.
void ReleaseCapturedTexts(Program& program);

}  // namespace xiuhe
