// The sealed alternate address: it opens on the machine that sealed it, and
// nowhere else; a damaged record is refused, never read as another address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/approach_record.h"

namespace {

const CMachineKey kThisMachine = machineKeyFromText(L"{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
const CMachineKey kOtherMachine = machineKeyFromText(L"6f9619ff-8b86-d011-b42d-00c04fc964fe");
const CRandomValue kNonce{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const std::string kAddress = "https://updates2.brantel.test/setup/v2";

TEST(ApproachRecord, MachineKeyIsTheGuidsBinaryLayout) {
  const CMachineKey expected{0xFF, 0x19, 0x96, 0x6F, 0x86, 0x8B, 0x11, 0xD0,
                             0xB4, 0x2D, 0x00, 0xC0, 0x4F, 0xC9, 0x64, 0xFF};
  EXPECT_EQ(kThisMachine, expected);
  EXPECT_EQ(machineKeyFromText(L"not a guid"), CMachineKey{});
  EXPECT_EQ(machineKeyFromText(L""), CMachineKey{});
}

TEST(ApproachRecord, RoundTripOnTheSameMachine) {
  for (const std::string& address : {kAddress, std::string(), std::string(300, 'x')}) {
    const auto record = sealApproach(address, kThisMachine, kNonce);
    ASSERT_EQ(record.size(), 32 + address.size());
    EXPECT_EQ(openApproach(record, kThisMachine), address);
  }
}

TEST(ApproachRecord, NothingOfTheAddressIsReadableAndTheNonceMakesRecordsDiffer) {
  const auto record = sealApproach(kAddress, kThisMachine, kNonce);
  const std::string asText(record.begin(), record.end());
  EXPECT_EQ(asText.find("brantel"), std::string::npos);
  CRandomValue otherNonce = kNonce;
  otherNonce[0] ^= 1;
  const auto other = sealApproach(kAddress, kThisMachine, otherNonce);
  EXPECT_NE(std::vector<std::uint8_t>(record.begin() + 16, record.end()),
            std::vector<std::uint8_t>(other.begin() + 16, other.end()));
  EXPECT_EQ(openApproach(other, kThisMachine), kAddress);
}

TEST(ApproachRecord, AnotherMachinesRecordIsRefused) {
  EXPECT_EQ(openApproach(sealApproach(kAddress, kOtherMachine, kNonce), kThisMachine), std::nullopt);
  EXPECT_EQ(openApproach(sealApproach(kAddress, CMachineKey{}, kNonce), kThisMachine), std::nullopt);
}

TEST(ApproachRecord, EveryDamagedByteAndEveryShortRecordIsRefused) {
  const auto record = sealApproach(kAddress, kThisMachine, kNonce);
  for (std::size_t at = 0; at < record.size(); ++at) {
    auto damaged = record;
    damaged[at] ^= 0x20;
    EXPECT_EQ(openApproach(damaged, kThisMachine), std::nullopt) << "byte " << at;
  }
  for (std::size_t size = 0; size < 32; ++size) {
    EXPECT_EQ(openApproach(std::vector<std::uint8_t>(record.begin(), record.begin() + size), kThisMachine),
              std::nullopt)
        << "size " << size;
  }
  auto cut = record;
  cut.pop_back();
  EXPECT_EQ(openApproach(cut, kThisMachine), std::nullopt);
}

}  // namespace
