#pragma once
// Answering No to the shell's questions while it works for the program.
#include <windows.h>

namespace kelvaro {

// While it deletes or restores, the shell may ask a question: before it destroys a file it could not recycle
// (Wine when its Trash cannot take the file, Windows when the file does not fit in the Recycle Bin), or
// before a restore replaces a file. Its question has no owner window and would wait for an answer in
// automatic mode too; a Yes would turn a recycle into a permanent delete, or a restore into an overwrite. So
// while either runs, every dialog of this thread that offers "No" is answered No before it is shown. Boxes
// with only OK (the shell's error boxes) are left to the user.
class QuestionDecliner {
public:
    QuestionDecliner();
    ~QuestionDecliner();
    QuestionDecliner(const QuestionDecliner&) = delete;
    QuestionDecliner& operator=(const QuestionDecliner&) = delete;
    bool Watching() const { return hook_ != nullptr; }
    // Whether a question was declined since the last Forget.
    bool Declined() const { return declined_; }
    void Forget() { declined_ = false; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);

    static thread_local QuestionDecliner* active;
    HHOOK hook_ = nullptr;
    bool declined_ = false;
};

}  // namespace kelvaro
