// The ID3 version 1 record in the last 128 bytes of an MP3: "TAG", title, artist, album, year,
// comment. Texts are UTF-8 here and code page 949 in the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class Id3v1TagFile {
public:
    Id3v1TagFile() = default;
    ~Id3v1TagFile() { Close(); }
    Id3v1TagFile(const Id3v1TagFile&) = delete;
    Id3v1TagFile& operator=(const Id3v1TagFile&) = delete;

    // Opens the file for reading and writing. 0 when a tag was found and the texts loaded;
    // -1 otherwise. A file without a tag (shorter ones included) gets a fresh zero-filled
    // record appended, so the setters always address a record after the audio.
    int Read(const std::string& path);
    // Each writes one field of the record; 0, or -1 when nothing could be written.
    int SetTitle(const std::string& text) { return WriteField(125, 30, 30, text); }
    int SetArtist(const std::string& text) { return WriteField(95, 30, 30, text); }
    int SetAlbum(const std::string& text) { return WriteField(65, 30, 30, text); }
    int SetYear(const std::string& text) { return WriteField(35, 4, 4, text); }
    int SetComment(const std::string& text) { return WriteField(31, 28, 28, text); }
    void Close();

    const std::string& Title() const { return m_Title; }
    const std::string& Artist() const { return m_Artist; }
    const std::string& Album() const { return m_Album; }
    const std::string& Year() const { return m_Year; }
    const std::string& Comment() const { return m_Comment; }

private:
    int WriteField(int64_t backFromEnd, size_t chars, size_t bytes, const std::string& text);
    bool AppendEmptyRecord();

    FILE* m_File = nullptr;
    // Length of the file with its record, as the last Read left it; -1 when there is no record
    // to write into.
    int64_t m_FileLength = -1;
    std::string m_Title;
    std::string m_Artist;
    std::string m_Album;
    std::string m_Year;
    std::string m_Comment;
};
