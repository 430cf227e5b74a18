#pragma once

// Clicks 中止 on the progress window of the next long piece of work the first time that work
// gives the windows a turn (after its first record).
void stopTheNextWork();
