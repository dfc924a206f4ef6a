// The machinery every exchange of the update and of the data write shares: the channel with its
// waits, the progress window that closes on every way out, message boxes, and the loop phase with its
// failure counter. Internal to the update engine.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/model_family.h"
#include "core/update/block_plan.h"
#include "core/update/image.h"
#include "core/update/update_engine.h"

namespace torvane::update_internal {

// The progress window of one exchange: shown on demand, closed by its owner or when it goes out of scope.
class ProgressWindow {
  public:
    explicit ProgressWindow(UiPort& ui) : ui_(ui) {}
    ~ProgressWindow() { Close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void Show(const std::string& label);  // label, bar at 0
    void Label(const std::string& label);
    void Position(int position);  // 0 to 100
    void Close();

  private:
    UiPort& ui_;
    bool shown_ = false;
};

// One exchange with one device: the engine's channel, opened anew for it.
class UpdateRun {
  public:
    // `capacity`: the most bytes one wait takes (1024, or 2048 for variant C's update).
    UpdateRun(const UpdateEnvironment& env, UpdateLink& link, size_t capacity);

    UiPort& ui() { return env_.ui; }
    const UpdateTimings& timings() const { return env_.timings; }
    const UpdateEnvironment& env() const { return env_; }
    ProgressWindow& progress() { return progress_; }

    bool Send(const Frame& request);
    std::optional<Frame> Wait();
    std::optional<Frame> Ask(const Frame& request);  // send, then one wait
    void Drain();                                    // discards what is queued, 1 ms per datagram
    void Pause(int ms);

    void Inform(const std::string& text);
    void Fail(const std::string& text, MessageButtons buttons = MessageButtons::kOk);

  private:
    const UpdateEnvironment& env_;
    UpdateLink& link_;
    size_t capacity_;
    ProgressWindow progress_;
};

enum class Attempt {
    kAccepted,
    kRefused,  // the device said no; a failure
    kFailed,   // no answer, or one that is not the awaited one
    kStop,     // the device reports that the phase cannot go on (damaged data); not a failure
};

struct PhaseEnd {
    bool completed = false;     // every block accepted
    bool stopped = false;       // an attempt answered kStop
    bool last_refused = false;  // the failure that ended the phase was a refusal
};

inline constexpr int kFailuresAllowed = 4;  // a phase gives up at its fifth failure

// Sends the blocks of `plan` in order, each until `attempt` accepts it. Each phase has its own failure
// counter, which no success lowers: the fifth failed attempt within the phase ends it, whether the
// failures came in a row or not. Pending window messages run before every attempt; after an accepted
// block the bar shows the share of `total` done, counting `done_before` from earlier phases.
PhaseEnd RunPhase(UpdateRun& run, const BlockPlan& plan, size_t total, size_t done_before,
                  const std::function<Attempt(const Block&)>& attempt);

// A text of the program's own, written in UTF-8 in the source, in the code page the UI port shows
// messages in (GBK); a text the code page cannot hold stays as it is.
std::string OwnText(std::string_view utf8);

// A block request of the FA family and its 5-byte status answer.
Attempt AskStatus(UpdateRun& run, const Frame& request);
// A B write block and its echo.
Attempt AskBWrite(UpdateRun& run, uint16_t address, std::span<const uint8_t> data);

// The bytes of a block as its frame carries them: the source's bytes, zeros past their end.
std::vector<uint8_t> BlockBytes(const std::vector<uint8_t>& source, const Block& block);

// Adds the backup file; on failure says why (naming the file) and returns nothing.
std::optional<std::string> SaveBackup(UpdateRun& run, UpdateVariant variant,
                                      const std::vector<uint8_t>& bytes);

// The variant's checks of the image named in `files`; a refusal is told. The remembered paths are
// written once the image passes (variant B: the firmware path only).
std::optional<FirmwareImage> AcceptImage(const UpdateEnvironment& env, UpdateVariant variant,
                                         const UpdateFiles& files);

// What a variant works from: the device's address, the window's files and the image that passed.
struct VariantInput {
    const std::string& ip;
    const UpdateFiles& files;
    const FirmwareImage& image;
};

// The variants of the exchange, after the login.
UpdateOutcome UpdateVariantA(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in);
UpdateOutcome UpdateVariantB(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in);
UpdateOutcome UpdateVariantC(const UpdateEnvironment& env, UpdateLink& link, const VariantInput& in);

// Variant B's data write cannot hold a file longer than 65,535 bytes: its refusal, known from the
// file's size before anything goes to the device (the logins included); nothing for the other variants,
// whose limits the write variants test after the logins.
std::optional<std::string> RefuseDataFileBeforeLogin(UpdateVariant variant, const std::string& path);

// The write variants of the data write, after the second login.
DataWriteResult WriteDataA(const UpdateEnvironment& env, UpdateLink& link, const std::string& path);
DataWriteResult WriteDataB(const UpdateEnvironment& env, UpdateLink& link, const std::string& path);
DataWriteResult WriteDataC(const UpdateEnvironment& env, UpdateLink& link, const std::string& path);

}  // namespace torvane::update_internal
