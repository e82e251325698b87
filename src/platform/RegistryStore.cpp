#include "platform/RegistryStore.h"

namespace kelvane {

RegValue RegValue::String(std::string text) {
    RegValue value;
    value.type = RegDataType::String;
    value.text = std::move(text);
    return value;
}

RegValue RegValue::ExpandString(std::string text) {
    RegValue value = String(std::move(text));
    value.type = RegDataType::ExpandString;
    return value;
}

RegValue RegValue::Integer(uint32_t number) {
    RegValue value;
    value.type = RegDataType::Integer;
    value.number = number;
    return value;
}

RegistryDocument RegistryDocument::Parse(std::string_view) {
    return {};
}
std::string RegistryDocument::Serialize() const {
    return {};
}
bool RegistryDocument::HasKey(std::string_view) const {
    return false;
}
const RegValue* RegistryDocument::Find(std::string_view, std::string_view) const {
    return nullptr;
}
void RegistryDocument::Set(std::string_view, const std::string&, const RegValue&) {}

RegistryDocument LoadRegistryDocument(const std::string&) {
    return {};
}
bool SaveRegistryDocument(const std::string&, const RegistryDocument&, FileAccess&) {
    return false;
}
RegistryPaths DefaultRegistryPaths() {
    return {};
}

LayeredRegistry::LayeredRegistry(RegistryPaths paths, FileAccess& files)
    : paths_(std::move(paths)), files_(files) {}
bool LayeredRegistry::OpenKey(const std::string&) {
    return false;
}
void LayeredRegistry::CloseKey() {
    openKey_.reset();
}
RegDataType LayeredRegistry::GetDataType(const std::string&) const {
    return RegDataType::None;
}
std::optional<std::string> LayeredRegistry::ReadString(const std::string&) const {
    return {};
}
std::optional<int32_t> LayeredRegistry::ReadInteger(const std::string&) const {
    return {};
}
bool LayeredRegistry::WriteInteger(const std::string&, int32_t) {
    return false;
}
const RegValue* LayeredRegistry::Lookup(const std::string&) const {
    return nullptr;
}

std::unique_ptr<Registry> OpenClassesRoot() {
    return std::make_unique<LayeredRegistry>(DefaultRegistryPaths());
}

} // namespace kelvane
