#include <string>

#include "runtime/version.h"
#include "window/form1.h"
#include "window/handlers.h"

namespace tavolen {

void Command2_Click(Form1& form) {
  const Byte last = ByteOf(Integer{2});
  for (Byte i = ByteOf(Integer{0}); i <= last; i = i + Byte{1}) {
    const Integer index{i.value};
    form.Label1(index).Caption.clear();
    form.Text1(index).Text.clear();
    form.Text2(index).Text.clear();
  }
  form.Label1(Integer{3}).Caption.clear();
  form.working().Clear();
}

void Command3_Click(Form1& form) {
  form.Unload();
}

void FileExit_Click(Form1& form) {
  form.Unload();
}

void FileBer_Click(Form1& form) {
  std::string prompt = "TavolenVer";
  prompt += TextOf(App::Major);
  prompt += '.';
  prompt += TextOf(App::Minor);
  prompt += '.';
  prompt += TextOf(App::Revision);
  prompt += "\rこのソフトウェアは Tavolen プロジェクトが作成しました。";
  prompt += "\rご質問や不具合のご報告は Tavolen プロジェクトの課題管理システムへお寄せください。";
  form.runtime().MsgBox(prompt, kMsgBoxInformation, "バージョン情報");
}

}  // namespace tavolen
