#include "base/png_file_win.h"

#include <wincodec.h>

#include "base/com_apartment.h"
#include "base/com_ptr.h"

bool writePngFile(const std::wstring& path, int width, int height, const std::uint32_t* pixels) {
  if (width <= 0 || height <= 0) {
    return false;
  }
  CComApartment com;
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICBitmap> bitmap;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  const UINT stride = static_cast<UINT>(width) * 4;
  const UINT size = stride * static_cast<UINT>(height);
  // The imaging component only reads the pixels; its interface is not const.
  BYTE* const bytes = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels));
  return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.receiveVoid())) &&
         SUCCEEDED(factory->CreateBitmapFromMemory(static_cast<UINT>(width), static_cast<UINT>(height),
                                                   GUID_WICPixelFormat32bppBGR, stride, size, bytes,
                                                   bitmap.receive())) &&
         SUCCEEDED(factory->CreateStream(stream.receive())) &&
         SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.receive())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.receive(), nullptr)) &&
         SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
         SUCCEEDED(encoder->Commit()) && SUCCEEDED(stream->Commit(STGC_DEFAULT));
}
