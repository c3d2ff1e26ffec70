// What assistive technology reads out, for every front end: the names of the
// controls that take input and the answer area read as words.
#pragma once

#include <string>
#include <string_view>

#include "window/controls.h"
#include "window/form1.h"
#include "window/working.h"

namespace tavolen {

// The accessible name of an entry field, option button, command button, frame
// or menu command: "1つ目の数の分母", "たし算", "計算".
[[nodiscard]] std::string AccessibleNameOf(ControlId id);

// The name of the region that holds the answer labels and bar.
inline constexpr std::string_view kAnswerAreaName = "答え";
// What the answer area is said to be while the inputs differ from what its answer was worked out
// from.
inline constexpr std::string_view kPreviousAnswerDescription = "前の計算の答え";

// What the working's region is said to be while the answer is the previous
// calculation's, and so is its working.
inline constexpr std::string_view kPreviousWorkingDescription = "前の計算の途中式";

// The working region's description: kPreviousWorkingDescription while the
// answer is stale, else nothing.
[[nodiscard]] std::string_view WorkingDescription(bool stale);

// A line of the working as read out when it appears: its words, said to be
// the previous calculation's while the answer is stale:
// "前の計算の途中式、2分の3 たす 3分の7、仮分数に直す".
[[nodiscard]] std::string WorkingLineReadOut(std::string_view words, bool stale);

// The captions of Label1(0) (denominator), Label1(1) (numerator), Label1(2)
// (whole part) and Label1(3) (minus sign) as one phrase: "マイナス3と6分の5",
// "6分の23", "0"; empty when the area shows nothing.
[[nodiscard]] std::string AnswerWords(std::string_view denominator, std::string_view numerator,
                                      std::string_view whole, std::string_view sign);

// The answer area of `form` as words, as AnswerWords reads its labels.
[[nodiscard]] std::string AnswerWordsOf(const Form1& form);

// The answer area's description: its words, said to be the previous
// calculation's while the form's answer is stale: "前の計算の答え、3と6分の5";
// while the working hides the answer, that it comes after the working.
[[nodiscard]] std::string AnswerDescriptionOf(const Form1& form, bool answerHidden = false);

// A number of the working as words, in the answer area's words: "マイナス1と6分の1".
[[nodiscard]] std::string NumberWords(const WorkingNumber& number);

// A step of the working as words, the name after the expression:
// "2分の3 たす 3分の7、仮分数に直す"; the problem has no name.
[[nodiscard]] std::string StepWords(const WorkingStep& step);

// A detail of the working as words, a compound part of a fraction read as
// 分母 and 分子: "分母 2、分子 1かける2たす1 たす 分母 3、分子 2かける3たす1".
[[nodiscard]] std::string DetailWords(const WorkingDetail& detail);

}  // namespace tavolen
