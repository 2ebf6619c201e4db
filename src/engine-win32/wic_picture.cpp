#include "engine-win32/wic_picture.h"

#include "components/jpeg_scans.h"

namespace tovak {

WicPictures::WicPictures() {
  // The first factory is the one Windows 7 has; later versions keep it.
  CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   reinterpret_cast<void**>(factory_.Out()));
}

bool WicPictures::Decode(const std::vector<uint8_t>& jpeg, Picture& picture) {
  picture = Picture();
  if (!factory_ || !IsJpegStream(jpeg.data(), jpeg.size()) || jpeg.size() > 0x7FFFFFFF) {
    return false;
  }
  // The system's decoder visits the whole picture for every scan, as every decoder does, and
  // cannot be told to stop: a stranger's show could hold the window black for minutes.
  if (TooManyJpegScans(jpeg.data(), jpeg.size())) return false;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory_->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg.data()), DWORD(jpeg.size()))) ||
      FAILED(factory_->CreateDecoderFromStream(stream.Get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory_->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  // Decoded here, whole: a damaged picture fails now rather than at its first paint.
  if (FAILED(factory_->CreateBitmapFromSource(converter.Get(), WICBitmapCacheOnLoad,
                                              picture.bitmap_.Out()))) {
    return false;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(picture.bitmap_->GetSize(&width, &height)) || width == 0 || height == 0) {
    picture.bitmap_.Reset();
    return false;
  }
  picture.width_ = int(width);
  picture.height_ = int(height);
  return true;
}

HBITMAP WicPictures::Scale(const Picture& picture, int width, int height) {
  if (!factory_ || !picture.Valid() || width <= 0 || height <= 0) return nullptr;
  ComPtr<IWICBitmapScaler> scaler;
  // Fant averages every source pixel into its target: smooth when shrinking a photo far.
  if (FAILED(factory_->CreateBitmapScaler(scaler.Out())) ||
      FAILED(scaler->Initialize(picture.bitmap_.Get(), UINT(width), UINT(height),
                                WICBitmapInterpolationModeFant))) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as WIC gives its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  const UINT stride = UINT(width) * 4;
  if (FAILED(
          scaler->CopyPixels(nullptr, stride, stride * UINT(height), static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace tovak
