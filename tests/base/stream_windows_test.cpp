// The file input stream and the IStream adapter, against the real system.
#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/exception.h"
#include "base/com_ptr.h"
#include "base/scoped_handle.h"
#include "base/source_memory_stream.h"
#include "base/stream_in_file.h"

namespace {

// A file of known bytes in a folder of its own, removed afterwards.
class StreamInFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    path_ = std::wstring(temp) + L"brantel-stream-" + std::to_wstring(::GetCurrentProcessId()) + L".bin";
    for (int i = 0; i < 1300; ++i) {
      bytes_.push_back(static_cast<char>(i * 31 + 7));
    }
    CScopedFile file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes_.data(), static_cast<DWORD>(bytes_.size()), &written, nullptr));
    ASSERT_EQ(written, bytes_.size());
  }
  void TearDown() override { ::DeleteFileW(path_.c_str()); }

  // True when nobody holds the file open any more.
  bool closedEverywhere() {
    CScopedFile exclusive(::CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return exclusive.valid();
  }

  std::wstring path_;
  std::string bytes_;
};

TEST_F(StreamInFileTest, ReadsEveryByteAcrossPiecesThenSignalsTheEnd) {
  XStreamInFile in(path_);
  std::string read;
  try {
    for (;;) {
      read += static_cast<char>(in.readByte());
    }
  } catch (const XStreamIn::EOS& end) {
    EXPECT_EQ(end.stream, &in);
  }
  EXPECT_EQ(read, bytes_);
  EXPECT_THROW(in.readByte(), XStreamIn::EOS);
}

TEST_F(StreamInFileTest, StepsBackWithinThePieceLastReadOnly) {
  XStreamInFile in(path_);
  EXPECT_THROW(in.unreadByte(), XStreamIn::EOS);
  for (int i = 0; i < 512; ++i) {
    in.readByte();
  }
  in.unreadByte();
  EXPECT_EQ(in.readByte(), static_cast<std::uint8_t>(bytes_[511]));
  EXPECT_EQ(in.readByte(), static_cast<std::uint8_t>(bytes_[512]));  // the next piece
  in.unreadByte();
  EXPECT_THROW(in.unreadByte(), XStreamIn::EOS);
  EXPECT_EQ(in.readByte(), static_cast<std::uint8_t>(bytes_[512]));
}

TEST_F(StreamInFileTest, AMissingFileThrowsWithTheSystemCode) {
  try {
    XStreamInFile in(path_ + L".missing");
    FAIL() << "opened";
  } catch (const XExceptionFile& e) {
    EXPECT_EQ(e.errorCode(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
  }
}

TEST_F(StreamInFileTest, ARefusedReadThrowsAndEndsCharacterReadingQuietly) {
  CScopedFile writeOnly(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writeOnly);
  XStreamInFile in = XStreamInFile::borrowing(writeOnly.get());
  try {
    in.readByte();
    FAIL() << "read";
  } catch (const XExceptionFile& e) {
    EXPECT_EQ(e.errorCode(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  }
  char16_t c;
  EXPECT_FALSE(in.nextCharOrEnd(c));
}

TEST_F(StreamInFileTest, ClosesAnOwnedHandleAndLeavesABorrowedOne) {
  {
    XStreamInFile in(path_);
    in.readByte();
    EXPECT_FALSE(closedEverywhere());
  }
  EXPECT_TRUE(closedEverywhere());

  CScopedFile mine(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(mine);
  {
    XStreamInFile in = XStreamInFile::borrowing(mine.get());
    EXPECT_EQ(in.readByte(), static_cast<std::uint8_t>(bytes_[0]));
  }
  LARGE_INTEGER size{};
  EXPECT_TRUE(::GetFileSizeEx(mine.get(), &size));
  EXPECT_EQ(size.QuadPart, 1300);
}

class SourceMemoryStream : public ::testing::Test {
protected:
  SourceMemoryStream() {
    for (int i = 0; i < 150000; ++i) {
      data_.push_back(static_cast<std::uint8_t>(i * 13));
    }
    stream_ = ISourceMemoryStream::create(data_.data(), data_.size());
  }
  std::vector<std::uint8_t> data_;
  TComPtr<IStream> stream_;
};

TEST_F(SourceMemoryStream, AnswersOnlyForItsOwnInterfaces) {
  TComPtr<IUnknown> unknown;
  EXPECT_EQ(stream_->QueryInterface(IID_IUnknown, unknown.receiveVoid()), S_OK);
  TComPtr<IStream> again;
  EXPECT_EQ(stream_->QueryInterface(IID_IStream, again.receiveVoid()), S_OK);
  EXPECT_EQ(again.get(), stream_.get());
  TComPtr<IPersist> persist;
  EXPECT_EQ(stream_->QueryInterface(IID_IPersist, persist.receiveVoid()), E_NOINTERFACE);
  EXPECT_FALSE(persist);

  // Two references were handed out above, and the creator's is the third.
  unknown.reset();
  EXPECT_EQ(stream_->AddRef(), 3u);
  EXPECT_EQ(stream_->Release(), 2u);
}

TEST_F(SourceMemoryStream, ReadsSeeksAndRefusesToWrite) {
  std::uint8_t buffer[16];
  ULONG read = 99;
  EXPECT_EQ(stream_->Read(buffer, 10, &read), S_OK);
  EXPECT_EQ(read, 10u);
  EXPECT_EQ(buffer[9], data_[9]);
  EXPECT_EQ(stream_->Read(buffer, 1, nullptr), S_OK);  // no count wanted: still copies
  EXPECT_EQ(buffer[0], data_[10]);

  LARGE_INTEGER offset{};
  ULARGE_INTEGER position{};
  offset.QuadPart = -3;
  EXPECT_EQ(stream_->Seek(offset, STREAM_SEEK_END, &position), S_OK);
  EXPECT_EQ(position.QuadPart, data_.size() - 3);
  EXPECT_EQ(stream_->Read(buffer, 16, &read), S_OK);
  EXPECT_EQ(read, 3u);

  offset.QuadPart = 0;
  EXPECT_EQ(stream_->Seek(offset, STREAM_SEEK_END, nullptr), S_OK);
  EXPECT_EQ(stream_->Read(buffer, 16, &read), S_OK);
  EXPECT_EQ(read, 0u);
  offset.QuadPart = 100;
  EXPECT_EQ(stream_->Seek(offset, STREAM_SEEK_CUR, &position), S_OK);  // past the end: allowed
  EXPECT_EQ(position.QuadPart, data_.size() + 100);
  EXPECT_EQ(stream_->Read(buffer, 16, &read), S_OK);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(stream_->Seek(offset, 3, &position), E_INVALIDARG);

  EXPECT_EQ(stream_->Write(buffer, 1, nullptr), STG_E_ACCESSDENIED);
  ULARGE_INTEGER size{};
  EXPECT_EQ(stream_->SetSize(size), STG_E_ACCESSDENIED);

  STATSTG stat;
  std::memset(&stat, 0xCC, sizeof stat);
  EXPECT_EQ(stream_->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.type, 2u);
  EXPECT_EQ(stat.cbSize.QuadPart, data_.size());
  EXPECT_EQ(stat.pwcsName, nullptr);

  IStream* clone = reinterpret_cast<IStream*>(&stat);
  EXPECT_EQ(stream_->Clone(&clone), E_NOTIMPL);
  EXPECT_EQ(clone, nullptr);
}

TEST_F(SourceMemoryStream, CopiesIntoAnotherStreamUpToTheCount) {
  TComPtr<IStream> target;
  ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, target.receive()), S_OK);
  ULARGE_INTEGER count;
  count.QuadPart = 140000;  // more than two pieces
  ULARGE_INTEGER read{}, written{};
  EXPECT_EQ(stream_->CopyTo(target.get(), count, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 140000u);
  EXPECT_EQ(written.QuadPart, 140000u);

  count.QuadPart = 1000000;  // the source runs out first
  EXPECT_EQ(stream_->CopyTo(target.get(), count, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 10000u);

  STATSTG stat{};
  ASSERT_EQ(target->Stat(&stat, STATFLAG_NONAME), S_OK);
  ASSERT_EQ(stat.cbSize.QuadPart, data_.size());
  LARGE_INTEGER start{};
  target->Seek(start, STREAM_SEEK_SET, nullptr);
  std::vector<std::uint8_t> copied(data_.size());
  ULONG got = 0;
  target->Read(copied.data(), static_cast<ULONG>(copied.size()), &got);
  EXPECT_EQ(copied, data_);

  // A target that refuses ends the copy after the first piece.
  TComPtr<IStream> refusing = ISourceMemoryStream::create(data_.data(), data_.size());
  LARGE_INTEGER start2{};
  stream_->Seek(start2, STREAM_SEEK_SET, nullptr);
  count.QuadPart = 140000;
  EXPECT_EQ(stream_->CopyTo(refusing.get(), count, &read, &written), STG_E_ACCESSDENIED);
  EXPECT_EQ(read.QuadPart, 65536u);
  EXPECT_EQ(written.QuadPart, 0u);
}

// What the stream exists for: the system's image decoder reads a picture
// straight from memory through it.
TEST(SourceMemoryStreamDecoder, TheImagingComponentDecodesABitmapThroughIt) {
  // A 3 x 2 bitmap, 24 bits per pixel, rows padded to 12 bytes.
  std::vector<std::uint8_t> bmp = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                                   40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,
                                   0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 12; ++i) {
      bmp.push_back(i < 9 ? static_cast<std::uint8_t>(row * 100 + i) : 0);
    }
  }
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    TComPtr<IWICImagingFactory> factory;
    ASSERT_EQ(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 factory.receiveVoid()),
              S_OK);
    TComPtr<IStream> stream = ISourceMemoryStream::create(bmp.data(), bmp.size());
    TComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                               decoder.receive()),
              S_OK);
    TComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_EQ(decoder->GetFrame(0, frame.receive()), S_OK);
    UINT width = 0, height = 0;
    ASSERT_EQ(frame->GetSize(&width, &height), S_OK);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    std::uint8_t pixels[18] = {};
    ASSERT_EQ(frame->CopyPixels(nullptr, 9, sizeof pixels, pixels), S_OK);
    EXPECT_EQ(pixels[0], 100);  // bottom-up: the file's second row comes first
    EXPECT_EQ(pixels[9], 0);
  }
  ::CoUninitialize();
}

}  // namespace
