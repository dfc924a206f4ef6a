#include "core/update/update_engine.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "core/model_family.h"
#include "core/update/update_run.h"

namespace torvane {
namespace {

using namespace update_internal;

constexpr size_t kIdentityCapacity = 1024;
constexpr size_t kIdentityMinimum = 33;
constexpr size_t kLoginTextMax = 9;
constexpr const char* kLoginRefused = "The username or password is invalid.";
constexpr const char* kSecondStart = "An updating process is running,please wait until it ends.";

template <size_t N>
void PutLoginText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), kLoginTextMax));
}

// The one of three functions that serves the variant.
template <typename F>
F ForVariant(UpdateVariant v, F a, F b, F c) {
    switch (v) {
        case UpdateVariant::kA:
            return a;
        case UpdateVariant::kB:
            return b;
        case UpdateVariant::kC:
            return c;
    }
    return c;
}

}  // namespace

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

void SleepFor(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Marks an exchange as running for its length.
class UpdateEngine::Busy {
  public:
    explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
    ~Busy() { flag_ = false; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

  private:
    bool& flag_;
};

UpdateEngine::UpdateEngine(UpdateEnvironment environment, uint8_t model_code, const MacBytes& mac)
    : env_(std::move(environment)), mac_(mac) {
    login_.model_code = model_code;
}

UpdateEngine::~UpdateEngine() = default;

std::optional<DeviceIdentity> UpdateEngine::AskIdentity(const std::string& ip) {
    if (running_) return std::nullopt;
    link_ = env_.open_link(ip);
    link_->Send(IdentifyRequest());
    const auto answer = link_->Receive(env_.timings.wait_ms, kIdentityCapacity);
    if (!answer || answer->size() < kIdentityMinimum) return std::nullopt;
    const auto id = ParseIdentifyAnswer(*answer);
    return DeviceIdentity{id->model, id->version};
}

UpdateEngine::LoginOutcome UpdateEngine::Login(const std::string& ip) {
    LoginOutcome out;
    out.result = env_.library.vk_login(ip.c_str(), mac_.data(), &login_);
    if (out.result != VK_ERR_PASSWORD) return out;
    // The dialog's texts stay in the record; a cancelled dialog leaves the record as it was.
    if (const auto texts = env_.ui.AskCredentials(ip)) {
        PutLoginText(login_.user_name, texts->user_name);
        PutLoginText(login_.password, texts->password);
    }
    out.result = env_.library.vk_login(ip.c_str(), mac_.data(), &login_);
    if (out.result == VK_ERR_PASSWORD) {
        Logout(ip);
        env_.ui.ShowMessage(MessageKind::kError, kLoginRefused, MessageButtons::kOk);
        out.refused_twice = true;
    }
    return out;
}

void UpdateEngine::Logout(const std::string& ip) {
    env_.library.vk_logout(ip.c_str(), mac_.data(), &login_);
}

void UpdateEngine::RefuseSecondStart() {
    env_.ui.ShowMessage(MessageKind::kInformation, kSecondStart, MessageButtons::kOk);
}

// The image is checked before the login, so that a refused image reaches no device at all.
UpdateOutcome UpdateEngine::DoUpdate(const std::string& ip, const UpdateFiles& files) {
    if (running_) {
        RefuseSecondStart();
        return {};
    }
    Busy busy(running_);
    const UpdateVariant variant = UpdateVariantFor(login_.model_code);
    const auto image = AcceptImage(env_, variant, files);
    if (!image) return {};
    const LoginOutcome login = Login(ip);
    UpdateOutcome out;
    out.result = UpdateResult::kLoginFailed;
    if (login.refused_twice) return out;
    if (login.result == VK_OK) {
        link_ = env_.open_link(ip);
        const VariantInput in{ip, files, *image};
        out = ForVariant(variant, UpdateVariantA, UpdateVariantB, UpdateVariantC)(env_, *link_, in);
    }
    Logout(ip);
    return out;
}

DataWriteResult UpdateEngine::WriteDataFile(const std::string& ip, const std::string& path) {
    if (running_) {
        RefuseSecondStart();
        return DataWriteResult::kBusy;
    }
    Busy busy(running_);
    if (const auto refusal = RefuseDataFileBeforeLogin(UpdateVariantFor(login_.model_code), path)) {
        env_.ui.ShowMessage(MessageKind::kError, *refusal, MessageButtons::kOk);
        return DataWriteResult::kRefusedFile;
    }
    const LoginOutcome login = Login(ip);
    if (login.refused_twice) return DataWriteResult::kLoginRefused;
    if (login.result != VK_OK) return DataWriteResult::kLoginFailed;
    DataWriteResult result = DataWriteResult::kLoginFailed;
    if (env_.library.vk_login(ip.c_str(), mac_.data(), &login_) == VK_OK) {
        link_ = env_.open_link(ip);
        result = ForVariant(UpdateVariantFor(login_.model_code), WriteDataA, WriteDataB, WriteDataC)(
            env_, *link_, path);
    }
    Logout(ip);
    return result;
}

}  // namespace torvane
