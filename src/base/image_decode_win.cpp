#include "base/image_decode.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "base/com_ptr.h"
#include "base/source_memory_stream.h"

namespace {

TComPtr<IWICImagingFactory> createFactory(REFCLSID factoryClass) {
  TComPtr<IWICImagingFactory> factory;
  const HRESULT hr = ::CoCreateInstance(factoryClass, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                        factory.receiveVoid());
  if (hr == CO_E_NOTINITIALIZED) {
    // A thread without COM, so a worker (the interface thread has its
    // apartment from start-up): join the multithreaded apartment for good
    // and try the newer factory once more.
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ::CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                       factory.receiveVoid());
  }
  return factory;
}

// The newer factory where it is registered, else the first one.  The system
// loads the imaging library by its registration, from System32.
TComPtr<IWICImagingFactory> newImagingFactory() {
  TComPtr<IWICImagingFactory> factory = createFactory(CLSID_WICImagingFactory2);
  if (!factory) {
    factory = createFactory(CLSID_WICImagingFactory1);
  }
  return factory;
}

// One per process, made on first use and kept.  A thread that finds none
// tries again: the failure may have been its own (no COM on that thread).
IWICImagingFactory* imagingFactory() {
  static TComPtr<IWICImagingFactory> factory;
  static SRWLOCK lock = SRWLOCK_INIT;
  ::AcquireSRWLockExclusive(&lock);
  if (!factory) {
    factory = newImagingFactory();
  }
  IWICImagingFactory* result = factory.get();
  ::ReleaseSRWLockExclusive(&lock);
  return result;
}

bool copyGrayRows(IWICBitmapSource* frame, UINT width, UINT height, XBitmapBase& bitmap) {
  bitmap.create(static_cast<int>(width), static_cast<int>(height));
  const UINT stride = (width + 15) / 16 * 16;
  std::vector<BYTE> row(stride);
  for (UINT y = 0; y < height; ++y) {
    const WICRect line = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
    if (FAILED(frame->CopyPixels(&line, stride, stride, row.data()))) {
      return false;
    }
    bitmap.writeRowGray(row.data(), 0, static_cast<int>(y), static_cast<int>(width));
  }
  return true;
}

bool copyColourRows(IWICBitmapSource* source, UINT width, UINT height, XBitmapBase& bitmap) {
  bitmap.create(static_cast<int>(width), static_cast<int>(height));
  const UINT pixelsPerRow = (width + 3) / 4 * 4;
  std::vector<CBmpPixel> row(pixelsPerRow);
  const UINT bytes = pixelsPerRow * 4;
  for (UINT y = 0; y < height; ++y) {
    const WICRect line = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
    if (FAILED(source->CopyPixels(&line, bytes, bytes, reinterpret_cast<BYTE*>(row.data())))) {
      return false;
    }
    bitmap.writeRow(row.data(), 0, static_cast<int>(y), static_cast<int>(width));
  }
  return true;
}

// The frame's first embedded profile, or sRGB when it has none.
TComPtr<IWICColorContext> sourceColourContext(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
  TComPtr<IWICColorContext> context;
  if (FAILED(factory->CreateColorContext(context.receive()))) {
    return {};
  }
  UINT count = 0;
  if (SUCCEEDED(frame->GetColorContexts(0, nullptr, &count)) && count > 0) {
    std::vector<TComPtr<IWICColorContext>> all(count);
    std::vector<IWICColorContext*> slots(count);
    for (UINT n = 0; n < count; ++n) {
      if (FAILED(factory->CreateColorContext(all[n].receive()))) {
        return {};
      }
      slots[n] = all[n].get();
    }
    UINT actual = 0;
    if (SUCCEEDED(frame->GetColorContexts(count, slots.data(), &actual)) && actual > 0) {
      return all[0];
    }
  }
  if (FAILED(context->InitializeFromExifColorSpace(1))) {
    return {};
  }
  return context;
}

TComPtr<IWICBitmapSource> colourManaged(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                                        REFWICPixelFormatGUID target) {
  TComPtr<IWICColorContext> from = sourceColourContext(factory, frame);
  TComPtr<IWICColorContext> to;
  TComPtr<IWICColorTransform> transform;
  if (!from || FAILED(factory->CreateColorContext(to.receive())) || FAILED(to->InitializeFromExifColorSpace(1)) ||
      FAILED(factory->CreateColorTransformer(transform.receive())) ||
      FAILED(transform->Initialize(frame, from.get(), to.get(), target))) {
    return {};
  }
  return transform.query<IWICBitmapSource>();
}

}  // namespace

bool decodeImage(const void* data, std::size_t size, XBitmapBase& bitmap) {
  IWICImagingFactory* factory = imagingFactory();
  if (!factory) {
    return false;
  }
  TComPtr<IStream> stream = ISourceMemoryStream::create(data, size);
  TComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.receive()))) {
    return false;
  }
  UINT frames = 0;
  TComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrameCount(&frames)) || frames == 0 || FAILED(decoder->GetFrame(0, frame.receive()))) {
    return false;
  }
  UINT width = 0;
  UINT height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format))) {
    return false;
  }
  if (width > 16384 || height > 16384) {
    return false;
  }
  if (IsEqualGUID(format, GUID_WICPixelFormat8bppGray)) {
    return copyGrayRows(frame.get(), width, height, bitmap);
  }
  const REFWICPixelFormatGUID target =
      bitmap.pixelFormat() == EBmpFormat::Bgra32 ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat32bppBGR;
  TComPtr<IWICBitmapSource> managed = colourManaged(factory, frame.get(), target);
  return managed && copyColourRows(managed.get(), width, height, bitmap);
}
