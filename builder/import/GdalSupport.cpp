#include "import/GdalSupport.h"

#include <algorithm>
#include <charconv>
#include <mutex>

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_frmts.h>
#include <ogr_srs_api.h>

#include "base/ProgressWindow.h"

namespace GdalSupport {

void registerDrivers()
{
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

void registerFirstDrivers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // GDALAllRegister's own order (a test compares them); registering twice does nothing.
        GDALRegister_VRT();
        GDALRegister_Derived();
        GDALRegister_GTiff();
        GDALRegister_COG();
        GDALRegister_NITF();
        GDALRegister_RPFTOC();
        GDALRegister_ECRGTOC();
        GDALRegister_HFA();
        GDALRegister_SAR_CEOS();
        GDALRegister_CEOS();
        GDALRegister_PALSARJaxa();
        GDALRegister_GFF();
        GDALRegister_ELAS();
        GDALRegister_ESRIC();
        GDALRegister_AIGrid();
        GDALRegister_AAIGrid();
        GDALRegister_GRASSASCIIGrid();
        GDALRegister_ISG();
        GDALRegister_SDTS();
        GDALRegister_DTED();
        GDALRegister_PNG();
        GDALRegister_JPEG();
        GDALRegister_MEM();
        GDALRegister_JDEM();
        GDALRegister_GIF();
        GDALRegister_BIGGIF();
        GDALRegister_Envisat();
        GDALRegister_FITS();
        GDALRegister_BSB();
        GDALRegister_XPM();
        GDALRegister_BMP();
        GDALRegister_DIMAP();
        GDALRegister_AirSAR();
        GDALRegister_RS2();
        GDALRegister_SAFE();
        GDALRegister_PCIDSK();
        GDALRegister_PCRaster();
        GDALRegister_ILWIS();
        GDALRegister_SGI();
        GDALRegister_SRTMHGT();
    });
}

QuietErrors::QuietErrors()
{
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

QuietErrors::~QuietErrors() { CPLPopErrorHandler(); }

std::string QuietErrors::last()
{
    const char* text = CPLGetLastErrorMsg();
    return text && *text ? text : "";
}

std::string QuietErrors::lastAsSuffix()
{
    const std::string text = last();
    return text.empty() ? text : " " + text;
}

void DatasetCloser::operator()(void* dataset) const
{
    if (dataset)
        GDALClose(static_cast<GDALDatasetH>(dataset));
}

void SrsDeleter::operator()(void* srs) const
{
    OSRDestroySpatialReference(static_cast<OGRSpatialReferenceH>(srs));
}

Words::~Words() { CSLDestroy(list_); }

Words& Words::add(const std::string& word)
{
    list_ = CSLAddString(list_, word.c_str());
    return *this;
}

Words& Words::add(double value)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return add(std::string(text, end));
}

Stages::Stages(ProgressWindow* window) : window_(window)
{
    if (window_)
        window_->SetRange(0, 100);
}

void Stages::begin(const char* status, int from, int to)
{
    from_ = from;
    to_ = to;
    if (window_) {
        window_->SetStatus(status);
        window_->SetPos(from);
    }
}

bool Stages::at(double fraction)
{
    if (!window_)
        return true;
    const int pos = from_ + static_cast<int>((to_ - from_) * std::clamp(fraction, 0.0, 1.0));
    if (pos != window_->pos())
        window_->SetPos(pos);
    if (window_->CheckCancelButton())
        cancelled_ = true;
    return !cancelled_;
}

int Stages::progress(double complete, const char*, void* stages)
{
    return static_cast<Stages*>(stages)->at(complete) ? TRUE : FALSE;
}

} // namespace GdalSupport
