#include "cataloguefile.h"

CatalogueFile::CatalogueFile(const QString &path) : m_file(path, TPaginaCatalogo::RecordSize) {}

bool CatalogueFile::read(int n, TPaginaCatalogo &page)
{
    return m_file.read(n, page.data());
}

bool CatalogueFile::write(int n, const TPaginaCatalogo &page)
{
    return m_file.write(n, page.data());
}

int CatalogueFile::append(const TPaginaCatalogo &page)
{
    return m_file.append(page.data());
}
