// Any bytes as the clipboard's text, as another program may leave it there:
// the parser must refuse it or take values the editor can hold, and what it
// takes, pasted and copied again, must read back as the same clip.
#include "fuzzentry.h"

#include "config/relayclipboard.h"

namespace
{

// The fields a part carries, from a relay holding it in its latch set.
QString partText(const RelayClip &clip)
{
    RelayConfig relay;
    RelayClipboard::apply(clip, relay);
    return RelayClipboard::textOf(relay, clip.part);
}

void checkRanges(const RelayConfig &values)
{
    if (values.RelayMode < 0 || values.RelayMode >= RelayModeCount)
        fuzzFailed("relay mode outside the list");
    if (values.InputMode < 0 || values.InputMode >= InputModeCount || values.UnlatchInputMode < 0 ||
        values.UnlatchInputMode >= InputModeCount)
        fuzzFailed("gate outside the list");
    if (values.Counter < 0 || values.Counter > MaxCounter)
        fuzzFailed("closure time beyond what the device counts");
    RelayConfig split = values;
    CounterToTime(split);
    if (split.Hours != values.Hours || split.Minutes != values.Minutes || split.Seconds != values.Seconds ||
        split.Hundredths != values.Hundredths)
        fuzzFailed("closure time parts out of step with the counter");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RelayClip> clip = RelayClipboard::parse(text);
    if (!clip)
        return 0;
    checkRanges(clip->values);

    // Copied from a relay it was pasted on, the clip reads back as itself.
    const QString copied = partText(*clip);
    const std::optional<RelayClip> again = RelayClipboard::parse(copied);
    if (!again)
        fuzzFailed("an accepted clip, pasted and copied, is refused");
    if (again->part != clip->part || again->values != clip->values)
        fuzzFailed("an accepted clip, pasted and copied, came back as another");

    // A gate or map pasted on a Latching relay showing its unlatch set lands there alone.
    RelayConfig latching{.ShowUnlatch = true, .RelayMode = LatchingMode};
    RelayClipboard::apply(*clip, latching);
    if (clip->part == RelayPart::InputMap || clip->part == RelayPart::InputMode) {
        RelayConfig shown = latching;
        shown.ShowUnlatch = false;
        std::swap(shown.InputMode, shown.UnlatchInputMode);
        std::swap(shown.InputMap, shown.UnlatchMap);
        if (RelayClipboard::textOf(shown, clip->part) != copied ||
            latching.InputMap != RelayConfig{}.InputMap || latching.InputMode != 0)
            fuzzFailed("a gate or map pasted on the unlatch set went elsewhere");
    }
    return 0;
}
