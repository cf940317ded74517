#include "sound/sound_device.h"

#include "display/error_message.h"

IDirectSound* soundObject = NULL;

bool InitSound(HWND window)
{
    if (DirectSoundCreate(NULL, &soundObject, NULL) != DS_OK) {
        soundObject = NULL;
        ShowErrorMessage("DirectSoundが生成できませんDirectSoundの使用が不可能です");
        return true;
    }
    if (soundObject->SetCooperativeLevel(window, DSSCL_NORMAL) != DS_OK)
        ShowErrorMessage("DirectSoundの協調に失敗しました");
    return true;
}

void ReleaseSound()
{
    if (soundObject != NULL) soundObject->Release();
}
