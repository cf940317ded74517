// A caption that types itself out one double-byte character per step.
#include <string.h>

#include "display/drawing.h"
#include "scene/effects.h"
#include "scene/scene_state.h"
#include "scene/step_timer.h"

const char captionText[] = "上下でＤＤサンプル描画／Ｆ１２でウインドウモード切替／ＥＳＣで終了。";

void DrawTypewriterText(const char* text)
{
    static char shown[512];
    int length = (int)strlen(text);
    // "length or less" lets the last step run one character past the end.
    if (AdvanceStepTimer(sceneState.captionTimer, 80.0f, 3.0f, true) && sceneState.captionLength <= length)
        sceneState.captionLength += 2;

    memset(shown, 0, sizeof(shown));
    // Keep the last byte zero whatever the text's length.
    int count = sceneState.captionLength < (int)sizeof(shown) - 1 ? sceneState.captionLength : (int)sizeof(shown) - 1;
    for (int i = 0; i < count && text[i] != '\0'; ++i)
        shown[i] = text[i];

    DrawTextLine(shown, 16, 21, 431, 0, 0, 0);
    DrawTextLine(shown, 16, 20, 430, 255, 0, 0);
}
